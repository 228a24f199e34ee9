#include "mainwindow/QtNotices.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace {

void PassOnlySevereMessages(QtMsgType Type, const QMessageLogContext& Context,
                            const QString& Text) {
    if (Type != QtCriticalMsg && Type != QtFatalMsg) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(Type, Context, Text)));
}

} // namespace

void DropQtNotices() {
    const char* rules = std::getenv("QT_LOGGING_RULES");
    if (rules && *rules) return;
    qInstallMessageHandler(PassOnlySevereMessages);
}
