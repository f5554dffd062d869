// SPDX-License-Identifier: GPL-3.0-or-later
#include "render_messages.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace vtl::cli {
namespace {

QtMessageHandler previousHandler = nullptr;

bool harmlessWithoutDisplay(const QString& text) {
    return text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")) ||
           text.contains(QLatin1String("does not support propagateSizeHints()"));
}

void filterMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && harmlessWithoutDisplay(text)) {
        return;
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, text);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    }
}

} // namespace

void quietenOffscreenWarnings() {
    previousHandler = qInstallMessageHandler(filterMessage);
}

} // namespace vtl::cli
