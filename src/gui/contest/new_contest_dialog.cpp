// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/contest/new_contest_dialog.h"

#include "core/contest/contest_texts.h"
#include "core/contest/scoring_rule.h"
#include "core/shell/prompter.h"
#include "core/shell/text_tables.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kMostRounds = 99;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

NewContestDialog::NewContestDialog(vtl::Prompter& prompter, vtl::Language language, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_language(language) {
    using vtl::ContestCaption;
    auto t = [language](ContestCaption which) { return qs(vtl::caption(which, language)); };
    setObjectName(QStringLiteral("NewContestDialog"));
    setWindowTitle(t(ContestCaption::NewDialogTitle));

    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("FolderField"));
    auto* browse = new QPushButton(QStringLiteral("…"), this);
    browse->setObjectName(QStringLiteral("BrowseButton"));
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(browse);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("NameField"));
    m_rule = new QLineEdit(QStringLiteral("max"), this);
    m_rule->setObjectName(QStringLiteral("RuleField"));
    m_rule->setToolTip(QStringLiteral("max · window:W · at:T · duration:CAP"));
    m_rounds = new QSpinBox(this);
    m_rounds->setObjectName(QStringLiteral("RoundsField"));
    m_rounds->setRange(1, kMostRounds);
    m_best = new QSpinBox(this);
    m_best->setObjectName(QStringLiteral("BestField"));
    m_best->setRange(0, kMostRounds);
    m_best->setSpecialValueText(t(ContestCaption::BestAll));

    auto* form = new QFormLayout;
    form->addRow(t(ContestCaption::FolderField), folderRow);
    form->addRow(t(ContestCaption::NameField), m_name);
    form->addRow(t(ContestCaption::RuleField), m_rule);
    form->addRow(t(ContestCaption::RoundsField), m_rounds);
    form->addRow(t(ContestCaption::BestField), m_best);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_buttons);
    resize(520, sizeHint().height());

    connect(browse, &QPushButton::clicked, this, &NewContestDialog::chooseFolder);
    connect(m_folder, &QLineEdit::textChanged, this, &NewContestDialog::enableOk);
    connect(m_name, &QLineEdit::textChanged, this, &NewContestDialog::enableOk);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &NewContestDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &NewContestDialog::reject);
    enableOk();
}

QPushButton* NewContestDialog::okButton() const {
    return m_buttons->button(QDialogButtonBox::Ok);
}

QString NewContestDialog::folder() const {
    return m_folder->text().trimmed();
}

vtl::ContestDocument NewContestDialog::document() const {
    vtl::ContestDocument document;
    document.name = m_name->text().trimmed().toStdString();
    document.rule =
        vtl::ScoringRule::parse(m_rule->text().trimmed().toStdString()).value_or(document.rule);
    document.rounds = m_rounds->value();
    document.bestCount = m_best->value();
    return document;
}

void NewContestDialog::accept() {
    const std::string rule = m_rule->text().trimmed().toStdString();
    if (!vtl::ScoringRule::parse(rule)) {
        m_prompter.showMessage(vtl::messageWith(vtl::Message::ContestBadRule, rule, m_language),
                               vtl::message(vtl::Message::ErrorCaption, m_language),
                               vtl::PromptButtons::Ok);
        m_rule->setFocus();
        return;
    }
    QDialog::accept();
}

void NewContestDialog::chooseFolder() {
    // The prompter has no folder dialog; the standard one is asked directly.
    const QString folder = QFileDialog::getExistingDirectory(this, windowTitle(), this->folder());
    if (!folder.isEmpty()) {
        m_folder->setText(folder);
    }
}

void NewContestDialog::enableOk() {
    okButton()->setEnabled(!folder().isEmpty() && !m_name->text().trimmed().isEmpty());
}
