// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/device/settings_dialog.h"

#include "core/device/port_finder.h"
#include "core/device/serial_channel.h"
#include "core/device/setup_limits.h"
#include "core/shell/framework_texts.h"
#include "core/shell/prompter.h"
#include "core/shell/settings_keeper.h"
#include "core/shell/text_tables.h"
#include "gui/look/window_look.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

constexpr int kLeft = 40;
constexpr int kFieldWidth = 81;
constexpr int kFieldHeight = 21;
constexpr int kPortCount = 25;
constexpr int kPortNameLength = 5; // what the settings record keeps of a typed port name

// Sampling codes 0-5 in item order; the texts are the same in both languages.
const char* const kSamplingItems[] = {"20 pom/sek",  "15 pom/sek",  "10 pom/sek",
                                      "  5 pom/sek", "  1 pom/sek", "  2 sek/pom"};
constexpr int kSamplingAfterFailedRead = 2; // "10 pom/sek"

template <typename Widget>
Widget* place(Widget* widget, const char* name, int top, int width = kFieldWidth,
              int height = kFieldHeight) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(kLeft, top, width, height);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->move(left, top);
    l->adjustSize();
    return l;
}

QLineEdit* edit(QWidget* parent, const char* name, int top, bool readOnly = false) {
    auto* e = place(new QLineEdit(parent), name, top);
    e->setReadOnly(readOnly);
    return e;
}

QComboBox* dropDown(QWidget* parent, const char* name, int top) {
    auto* list = place(new QComboBox(parent), name, top);
    list->setEditable(true);
    // A typed text picks a matching item; it never becomes a new one.
    list->setInsertPolicy(QComboBox::NoInsert);
    // The narrow field shows an item's text from its start, not scrolled to its end.
    QObject::connect(list, &QComboBox::currentIndexChanged, list,
                     [list] { list->lineEdit()->setCursorPosition(0); });
    return list;
}

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

} // namespace

TFormUstawienia::TFormUstawienia(vtl::SettingsKeeper& settings, const vtl::Language& language,
                                 vtl::Prompter& prompter, vtl::SerialChannel& channel,
                                 vtl::DeviceProtocol& protocol, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_language(language), m_prompter(prompter),
      m_channel(channel), m_protocol(protocol) {
    setObjectName(QStringLiteral("FormUstawienia"));
    setWindowTitle(QStringLiteral("Ustawienia"));
    vtl::applyDesignFont(*this);
    setFixedSize(196, 553);
    move(231, 201);
    buildControls();

    const vtl::ProgramSettings& stored = m_settings.settings();
    CB_Numer_Portu->setCurrentIndex(stored.portIndex);
    if (CB_Numer_Portu->currentIndex() < 0) {
        // A typed name that is no item of the list: the field shows the port that is used.
        CB_Numer_Portu->setCurrentIndex(-1);
        CB_Numer_Portu->setEditText(text(stored.portNameText()));
    }
    E_Poziom->setText(QStringLiteral("0"));
    E_Kal_Temp->setText(QStringLiteral("0"));
    // The language of the start-up stays in these two items for the whole run.
    ComboB_Zer->clear();
    ComboB_Zer->addItem(text(vtl::caption(vtl::SettingsCaption::No, m_language)));
    ComboB_Zer->addItem(text(vtl::caption(vtl::SettingsCaption::Yes, m_language)));

    // Connected last: the initial values above are no user's change.
    connectHandlers();
}

void TFormUstawienia::buildControls() {
    L_Numer_Portu = label(this, "L_Numer_Portu", QStringLiteral("Numer Portu "), kLeft, 16);
    CB_Numer_Portu = dropDown(this, "CB_Numer_Portu", 32);
    // Every typed character is a change of port, so the text must be exactly what was typed: a
    // completion would open a port the user never named.
    CB_Numer_Portu->setCompleter(nullptr);
    // Each item's data is its plain name, what is stored whatever the item shows.
    for (int port = 1; port <= kPortCount; ++port) {
        const QString name = QStringLiteral("COM%1").arg(port);
        CB_Numer_Portu->addItem(name, name);
    }
    // The closed field is too narrow for an item's description: it shows the name alone, whether
    // the item was chosen from the list or by the program.
    connect(CB_Numer_Portu, &QComboBox::currentIndexChanged, this,
            &TFormUstawienia::showBarePortName);
    connect(CB_Numer_Portu, &QComboBox::activated, this, &TFormUstawienia::showBarePortName);

    L_PoziomWyzwalania =
        label(this, "L_PoziomWyzwalania", QStringLiteral("Poziom Wyzwalania"), kLeft, 72);
    E_Poziom = edit(this, "E_Poziom", 88);
    Label1 = label(this, "Label1", QStringLiteral("[m]"), 125, 92);

    L_Kalibracja_Temp = label(this, "L_Kalibracja_Temp", QStringLiteral("Temperatura"), kLeft, 128);
    E_Kal_Temp = edit(this, "E_Kal_Temp", 144, true);
    Label2 = label(this, "Label2", QStringLiteral("[°C]"), 125, 150);

    L_Ust_Probk = label(this, "L_Ust_Probk", QStringLiteral("Próbkowanie"), kLeft, 184);
    ComboBox_ImPomiarow = dropDown(this, "ComboBox_ImPomiarow", 200);
    // The sampling texts are wider than the list's field in the dialog's face.
    ComboBox_ImPomiarow->setFont(vtl::narrowFont(11));
    for (const char* item : kSamplingItems) {
        ComboBox_ImPomiarow->addItem(QString::fromLatin1(item));
    }

    LZerReczne = label(this, "LZerReczne", QStringLiteral("Zerowanie reczne"), kLeft, 240);
    ComboB_Zer = dropDown(this, "ComboB_Zer", 256);
    ComboB_Zer->addItems({QStringLiteral("Nie"), QStringLiteral("Tak")});

    L_Numer_Zawodnika =
        label(this, "L_Numer_Zawodnika", QStringLiteral("Numer Zawodnika"), kLeft, 296);
    E_NrZaw = edit(this, "E_NrZaw", 312);

    L_NrSer = label(this, "L_NrSer", QStringLiteral("NumerSeryjny"), kLeft, 352);
    E_NrSer = edit(this, "E_NrSer", 368, true);

    L_CzasOp = label(this, "L_CzasOp", QStringLiteral("Czas opoznienia"), kLeft, 408);
    E_CzasOp = edit(this, "E_CzasOp", 424);
    L_Sek = label(this, "L_Sek", QStringLiteral("[sek]"), 125, 428);

    B_wyslij = place(new QPushButton(QStringLiteral("Zapisz"), this), "B_wyslij", 464, 89, 33);
    // Enter in a field must not write the device: the button is pressed on purpose only.
    B_wyslij->setAutoDefault(false);
    B_wyslij->setDefault(false);

    QWidget* const tabOrder[] = {
        CB_Numer_Portu, E_Poziom,   E_Kal_Temp, E_NrZaw, ComboBox_ImPomiarow,
        B_wyslij,       ComboB_Zer, E_NrSer,    E_CzasOp};
    for (size_t i = 1; i < std::size(tabOrder); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
}

void TFormUstawienia::connectHandlers() {
    // The port changes with a choice from the list and with every edit of its text, each partial
    // text included; setting the text from the program is no change.
    connect(CB_Numer_Portu, qOverload<int>(&QComboBox::activated), this,
            &TFormUstawienia::CB_Numer_PortuChange);
    connect(CB_Numer_Portu->lineEdit(), &QLineEdit::textEdited, this,
            &TFormUstawienia::CB_Numer_PortuChange);
    CB_Numer_Portu->installEventFilter(this);
    connect(E_Poziom, &QLineEdit::textChanged, this, &TFormUstawienia::E_Poziom_Ent);
    connect(E_Kal_Temp, &QLineEdit::textChanged, this, &TFormUstawienia::E_Kal_zaduzo);
    connect(E_NrZaw, &QLineEdit::textChanged, this, &TFormUstawienia::E_nrZaw_zaduzo);
    connect(E_CzasOp, &QLineEdit::textChanged, this, &TFormUstawienia::E_CzasOpChange);
    connect(B_wyslij, &QPushButton::clicked, this, &TFormUstawienia::BWyslijPClick);
    for (QLineEdit* watched : {E_Poziom, E_Kal_Temp, E_NrZaw, E_CzasOp}) {
        watched->installEventFilter(this);
    }
}

void TFormUstawienia::blankAfterFailedRead() {
    E_NrZaw->clear();
    E_Poziom->clear();
    // An earlier read's delay belongs to another device, or to none at all.
    E_CzasOp->clear();
    blankReadOnlyFields();
    ComboBox_ImPomiarow->setCurrentIndex(kSamplingAfterFailedRead);
    ComboB_Zer->setCurrentIndex(0);
}

void TFormUstawienia::blankReadOnlyFields() {
    E_Kal_Temp->clear();
    E_NrSer->clear();
}

void TFormUstawienia::showTemperature(int celsius) {
    E_Kal_Temp->setText(QString::number(celsius));
}

void TFormUstawienia::showCompetitorNumber(int number) {
    E_NrZaw->setText(QString::number(number));
}

void TFormUstawienia::showSerialNumber(int number) {
    E_NrSer->setText(QString::number(number));
}

void TFormUstawienia::showTriggerMetres(int metres) {
    E_Poziom->setText(QString::number(metres));
}

void TFormUstawienia::selectSamplingCode(int code) {
    // An index past the list selects nothing, as with a code the list does not know.
    ComboBox_ImPomiarow->setCurrentIndex(code < ComboBox_ImPomiarow->count() ? code : -1);
}

void TFormUstawienia::selectManualZeroing(int on) {
    ComboB_Zer->setCurrentIndex(on);
}

void TFormUstawienia::showDelaySeconds(int seconds) {
    E_CzasOp->setText(QString::number(seconds));
}

vtl::DeviceSetupEntries TFormUstawienia::entries() const {
    vtl::DeviceSetupEntries e;
    e.triggerMetres = E_Poziom->text().toStdString();
    e.competitorNumber = E_NrZaw->text().toStdString();
    e.delaySeconds = E_CzasOp->text().toStdString();
    e.samplingIndex = ComboBox_ImPomiarow->currentIndex();
    e.manualZeroingIndex = ComboB_Zer->currentIndex();
    return e;
}

void TFormUstawienia::FormActivate() {
    using vtl::MainCaption;
    using vtl::SettingsCaption;
    auto settings = [this](SettingsCaption which) { return text(vtl::caption(which, m_language)); };
    auto shared = [this](MainCaption which) { return text(vtl::caption(which, m_language)); };
    L_Numer_Portu->setText(settings(SettingsCaption::SelectPort));
    L_PoziomWyzwalania->setText(settings(SettingsCaption::TriggerHeight));
    L_Kalibracja_Temp->setText(settings(SettingsCaption::Temperature));
    setWindowTitle(settings(SettingsCaption::DialogCaption));
    L_Ust_Probk->setText(shared(MainCaption::Sampling));
    LZerReczne->setText(settings(SettingsCaption::ManualZeroing));
    L_Numer_Zawodnika->setText(shared(MainCaption::CompetitorNumber));
    L_NrSer->setText(shared(MainCaption::SerialNumber));
    L_CzasOp->setText(settings(SettingsCaption::Delay));
    L_Sek->setText(settings(SettingsCaption::Seconds));
    B_wyslij->setText(shared(MainCaption::SendSetupButton));
    for (QLabel* l : {L_Numer_Portu, L_PoziomWyzwalania, L_Kalibracja_Temp, L_Ust_Probk, LZerReczne,
                      L_Numer_Zawodnika, L_NrSer, L_CzasOp, L_Sek}) {
        l->adjustSize();
    }
}

void TFormUstawienia::CB_Numer_PortuChange() {
    vtl::ProgramSettings& settings = m_settings.settings();
    // A chosen item, or a typed text that spells an item's name, is that item; any other text
    // has no index (-1) and is the name as typed.
    const QString chosen = CB_Numer_Portu->currentText();
    int index = CB_Numer_Portu->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        index = CB_Numer_Portu->findData(chosen, Qt::UserRole,
                                         Qt::MatchExactly | Qt::MatchCaseSensitive);
    }
    settings.portIndex = index;
    m_channel.closePort();
    const QString name = index >= 0 ? CB_Numer_Portu->itemData(index).toString() : chosen;
    settings.setPortName(name.left(kPortNameLength).toStdString());
    m_settings.save();
    // The user has just named this port: no other one is offered in its place.
    m_channel.openPort(settings.portNameText(), false);
    if (!m_channel.isOpen()) {
        // The channel has reported the failure already; the dialog says it once more.
        blankReadOnlyFields();
        reportError(vtl::message(vtl::Message::PortError, m_language) + settings.portNameText());
        return;
    }
    if (m_protocol.readDeviceSetup(*this) == 0) {
        // The fields only the device fills would show the port's previous device. What the user
        // edits stays, to be written to this one.
        blankReadOnlyFields();
        reportError(vtl::message(vtl::Message::CommunicationError, m_language));
    }
}

void TFormUstawienia::checkLimit(const QLineEdit& field, const vtl::SetupLimit& limit) {
    const std::string value = field.text().toStdString();
    switch (vtl::checkSetupLimit(value, limit)) {
    case vtl::LimitCheck::Empty:
    case vtl::LimitCheck::Ok:
        break;
    case vtl::LimitCheck::NotInteger:
        m_prompter.showMessage(vtl::notAnIntegerText(value), vtl::kExceptionCaption,
                               vtl::PromptButtons::Ok);
        break;
    case vtl::LimitCheck::TooLarge:
        reportError(vtl::message(vtl::Message::ValueTooLarge, m_language));
        break;
    }
}

void TFormUstawienia::reportError(const std::string& what) {
    m_prompter.showMessage(what, vtl::message(vtl::Message::ErrorCaption, m_language),
                           vtl::PromptButtons::Ok);
}

void TFormUstawienia::E_Poziom_Ent() {
    checkLimit(*E_Poziom, vtl::kTriggerLevelLimit);
}

void TFormUstawienia::E_Kal_zaduzo() {
    checkLimit(*E_Kal_Temp, vtl::kTemperatureLimit);
}

void TFormUstawienia::E_nrZaw_zaduzo() {
    checkLimit(*E_NrZaw, vtl::kCompetitorNumberLimit);
}

void TFormUstawienia::E_CzasOpChange() {
    checkLimit(*E_CzasOp, vtl::kDelayLimit);
}

int TFormUstawienia::checkEmptyFields() {
    const vtl::DeviceSetupEntries edited = entries();
    if (!vtl::firstEmptySetupField(edited.triggerMetres, edited.delaySeconds,
                                   edited.competitorNumber)) {
        return 0;
    }
    reportError(vtl::message(vtl::Message::FieldEmpty, m_language));
    return 1;
}

void TFormUstawienia::E_Poziom_Exit() {
    checkEmptyFields();
}

void TFormUstawienia::E_CzasOpExit() {
    checkEmptyFields();
}

bool TFormUstawienia::eventFilter(QObject* watched, QEvent* event) {
    if (watched == CB_Numer_Portu) {
        // The typed text has been taken while it was typed; Enter would only repeat that change
        // or swap the text for a differently spelt item.
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            return key == Qt::Key_Return || key == Qt::Key_Enter;
        }
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusOut) {
        // Only a move to another control leaves a field; the window losing its activation (a
        // message box, the dialog closing) does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == E_CzasOp) {
                E_CzasOpExit();
            } else {
                E_Poziom_Exit();
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormUstawienia::BWyslijPClick() {
    if (checkEmptyFields() == 1) {
        return;
    }
    if (!m_channel.isOpen()) {
        return;
    }
    if (m_protocol.writeDeviceSetup(entries()) != vtl::DeviceProtocol::Outcome::Stopped) {
        accept();
    }
}

void TFormUstawienia::FormClose() {
    m_channel.closePort();
}

void TFormUstawienia::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TFormUstawienia::setPortFinder(std::function<vtl::PortFinder()> findPorts) {
    m_findPorts = std::move(findPorts);
}

void TFormUstawienia::refreshPortEntries() {
    const vtl::PortFinder finder =
        m_findPorts ? m_findPorts() : vtl::PortFinder({}, {}, m_language);
    int widest = 0;
    for (int i = 0; i < CB_Numer_Portu->count(); ++i) {
        const QString entry =
            text(finder.entryText(CB_Numer_Portu->itemData(i).toString().toStdString()));
        CB_Numer_Portu->setItemText(i, entry);
        widest = std::max(widest, CB_Numer_Portu->fontMetrics().horizontalAdvance(entry));
    }
    // The open list is as wide as its longest entry; the field keeps its size.
    CB_Numer_Portu->view()->setMinimumWidth(widest + 2 * kFieldHeight);
    showBarePortName();
}

void TFormUstawienia::showBarePortName() {
    const int index = CB_Numer_Portu->currentIndex();
    if (index >= 0) {
        CB_Numer_Portu->setEditText(CB_Numer_Portu->itemData(index).toString());
    }
    CB_Numer_Portu->lineEdit()->setCursorPosition(0);
}

void TFormUstawienia::showEvent(QShowEvent* event) {
    // The port may have changed since the last showing: the user took the offered USB port.
    const int stored = m_settings.settings().portIndex;
    if (stored >= 0 && stored < CB_Numer_Portu->count() &&
        stored != CB_Numer_Portu->currentIndex()) {
        CB_Numer_Portu->setCurrentIndex(stored);
    }
    refreshPortEntries();
    FormActivate();
    QDialog::showEvent(event);
}

bool TFormUstawienia::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        FormActivate();
    }
    return QDialog::event(event);
}
