// SPDX-License-Identifier: GPL-3.0-or-later
// The readout under the mouse on the status line, and the cursors' menu item and table.

#include "core/flight/cursor_texts.h"
#include "gui/flight/chart_cursors.h"
#include "gui/shell/main_window.h"

#include <QAction>

void TVantorel_BMP::buildCursors() {
    MainWindowForm& f = m_form;
    m_cursors = new ChartCursors(
        *f.Chart1, [this] { return m_presenter.drawnTimeBase(); }, m_currentLanguage, f.client);

    // The readout lays itself over the status line and gives the output's status back when the
    // pointer leaves the chart.
    connect(m_cursors, &ChartCursors::readoutChanged, this, [this](const QString& text) {
        if (text.isEmpty()) {
            m_form.StatusBar1->clearMessage();
        } else {
            m_form.StatusBar1->showMessage(text);
        }
    });

    // Esc takes the cursors away only while there are some, so it is free for everything else.
    m_removeCursors = f.Widok1->addAction(QString());
    m_removeCursors->setObjectName(QStringLiteral("UsunKursory"));
    m_removeCursors->setShortcut(QKeySequence(Qt::Key_Escape));
    m_removeCursors->setEnabled(false);
    connect(m_removeCursors, &QAction::triggered, m_cursors, &ChartCursors::removeAll);
    connect(m_cursors, &ChartCursors::cursorsShown, this, [this](bool shown) {
        m_removeCursors->setEnabled(shown);
        FormResize();
    });

    // Every drawing ends by telling the panels; by then the chart holds the new curves.
    connect(&m_presenter, &FlightPresenter::panelChanged, m_cursors, &ChartCursors::refreshLater);
}

void TVantorel_BMP::applyCursorsLanguage() {
    m_removeCursors->setText(
        QString::fromStdString(vtl::cursorWord(vtl::CursorWord::RemoveCursors, m_currentLanguage)));
    m_cursors->refreshLater();
}
