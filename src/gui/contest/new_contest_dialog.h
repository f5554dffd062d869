// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/contest/contest_files.h"
#include "core/shell/language.h"

#include <QDialog>
#include <QString>

class QDialogButtonBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace vtl {
class Prompter;
}

// Asks where a new contest goes (its folder, made when missing) and its name, scoring rule,
// rounds and how many of the best rounds count. A rule that is none is refused with its text
// before the dialog closes.
class NewContestDialog : public QDialog {
    Q_OBJECT
public:
    NewContestDialog(vtl::Prompter& prompter, vtl::Language language, QWidget* parent = nullptr);

    QString folder() const;
    // The contest as filled in; its rule is the one the field names (checked when accepted).
    vtl::ContestDocument document() const;

    QLineEdit* folderField() const { return m_folder; }
    QLineEdit* nameField() const { return m_name; }
    QLineEdit* ruleField() const { return m_rule; }
    QSpinBox* roundsField() const { return m_rounds; }
    QSpinBox* bestField() const { return m_best; }
    QPushButton* okButton() const;

    void accept() override;

private:
    void chooseFolder();
    void enableOk();

    vtl::Prompter& m_prompter;
    vtl::Language m_language;
    QLineEdit* m_folder = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_rule = nullptr;
    QSpinBox* m_rounds = nullptr;
    QSpinBox* m_best = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};
