#include "shell/qt_prompter.h"

#include <QMessageBox>
#include <QString>

namespace vtl {

bool QtPrompter::showMessage(const std::string &text, const std::string &caption,
                             PromptButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption),
                    QString::fromStdString(text),
                    buttons == PromptButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                       : QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

} // namespace vtl
