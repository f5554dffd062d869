#include "shell/main_window.h"

#include "flight/flight_record.h"
#include "support/scripted_prompter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void closingWritesTheSettingsFile();
    void startUpReadsTheSettingsFile();
    void unwritableSettingsAreReportedOnceAndClosingStillEnds();
};

void MainWindowTest::closingWritesTheSettingsFile() {
    QTemporaryDir folder;
    const QString path = folder.filePath("vantorel.par");
    vtl::testing::ScriptedPrompter prompter;
    TVantorel_BMP window(path, prompter);
    window.show();
    window.programSettings().showAcceleration = 0;
    QVERIFY(window.close());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.size(), 40);
    QCOMPARE(bytes.left(5), QByteArray("COM5\0", 5));
    QCOMPARE(static_cast<int>(bytes[12]), 50);
    QCOMPARE(static_cast<int>(bytes[20]), 0);
    QVERIFY(prompter.messages().empty());
}

void MainWindowTest::startUpReadsTheSettingsFile() {
    QTemporaryDir folder;
    const QString path = folder.filePath("vantorel.par");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("COM12\0\0\0\x0B\0\0\0\x32\0\0\0\x07\0\0\0", 20));
    file.close();

    vtl::testing::ScriptedPrompter prompter;
    TVantorel_BMP window(path, prompter);
    QCOMPARE(QString::fromStdString(window.programSettings().portNameText()), QString("COM12"));
    QCOMPARE(window.programSettings().portIndex, 11);
    QCOMPARE(window.currentLanguage(), 7);
    QCOMPARE(window.programSettings().finalFilterLength, 12);
    QCOMPARE(window.currentFlight().temperature, 20.0f);
}

void MainWindowTest::unwritableSettingsAreReportedOnceAndClosingStillEnds() {
    QTemporaryDir folder;
    const QString path = folder.filePath("missing-folder/vantorel.par");
    vtl::testing::ScriptedPrompter prompter;
    TVantorel_BMP window(path, prompter);
    window.show();
    QVERIFY(window.close());
    QVERIFY(!window.isVisible());
    window.show();
    QVERIFY(window.close());
    QCOMPARE(prompter.messages().size(), size_t{1});
    QCOMPARE(QString::fromStdString(prompter.messages()[0].text),
             QString("Cannot create file ") + path);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
