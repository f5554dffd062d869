// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/download_indicators.h"

#include "core/shell/text_tables.h"
#include "gui/chart/chart_view.h"
#include "gui/flight/flight_presenter.h"
#include "gui/shell/main_window_form.h"
#include "gui/shell/transfer_input_guard.h"

#include <utility>

DownloadIndicators::DownloadIndicators(MainWindowForm& form, FlightPresenter& presenter,
                                       const vtl::Language& language,
                                       const TransferInputGuard& guard,
                                       std::function<void()> showDeviceTitle,
                                       std::function<void()> showPreviousFlight)
    : m_form(form), m_presenter(presenter), m_language(language), m_guard(guard),
      m_showDeviceTitle(std::move(showDeviceTitle)),
      m_showPreviousFlight(std::move(showPreviousFlight)) {}

void DownloadIndicators::showReading() {
    m_form.E_PobDan->show();
    m_form.E_PobDan->repaint();
    m_form.B_Przerwij->setText(
        QString::fromStdString(vtl::caption(vtl::MainCaption::CancelButton, m_language)));
    m_form.B_Przerwij->show();
    m_form.B_Przerwij->repaint();
    m_showDeviceTitle();
}

void DownloadIndicators::resetForNewFlight() {
    m_chartWasReset = true;
    ChartView& chart = *m_form.Chart1;
    chart.UndoZoom();
    for (ChartView::Series s :
         {ChartView::Series1, ChartView::Series2, ChartView::Series4, ChartView::Series5}) {
        chart.Clear(s);
    }
    chart.leftSetMinimum(0.0);
    chart.leftSetAutomatic(false);
    chart.leftSetAutomaticMaximum(false);
    chart.leftSetAutomaticMinimum(true);
}

void DownloadIndicators::blankStatistics() {
    m_presenter.blankStatistics(vtl::FlightRole::Current);
}

void DownloadIndicators::showProgress(const std::string& text) {
    m_form.ECzekaj->setText(QString::fromStdString(text));
    m_form.ECzekaj->show();
    m_form.ECzekaj->repaint();
}

void DownloadIndicators::hideIndicators() {
    m_form.ECzekaj->hide();
    m_form.E_PobDan->hide();
    m_form.B_Przerwij->hide();
}

bool DownloadIndicators::cancelRequested() {
    return m_guard.cancelRequested();
}

void DownloadIndicators::transferEnded(bool imageCame) {
    if (!imageCame && m_chartWasReset) {
        m_chartWasReset = false;
        m_showPreviousFlight();
    }
}
