// The program itself, started by the tests as a person would use it: the real start-up
// (the main block) with every modal window answered "OK" after QUORBEL_ANSWER_AFTER_MS
// milliseconds (0 when unset) while the program goes on handling its events, as it does
// while a person reads the message. It reports on standard output, one line each:
//   "ROWS <path>|<path>..."   the input list, at start and whenever it changes
//   "MODAL <caption>: <label> | <label>..."   a modal window opened
//   "ANSWERED"                 it was answered
#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "mainwindow/MainBlock.h"
#include "mainwindow/u_prog.h"
#include "platform/Forms.h"
#include "platform/Labels.h"
#include "text/UCodeSysUtils.h"

namespace {

void say(const std::string& Line) {
    std::printf("%s\n", Line.c_str());
    std::fflush(stdout);
}

std::string listRows() {
    std::string rows;
    if (!prog) return rows;
    TListItems& items = prog->qulist->Items();
    for (int i = 0; i < items.Count(); ++i)
        rows += (i ? "|" : "") + U8(Tprog::RowPath(items[i]));
    return rows;
}

void reportRows() {
    static std::string last = "\x01";
    if (!prog) return;
    const std::string rows = listRows();
    if (rows == last) return;
    last = rows;
    say("ROWS " + rows);
}

std::string labelsOf(const TForm* Form) {
    std::string text;
    for (int i = 0; i < Form->ComponentCount(); ++i)
        if (auto* label = dynamic_cast<TLabel*>(Form->Components(i)); label && label->Visible())
            text += (text.empty() ? "" : " | ") + U8(label->Caption());
    return text;
}

int answerAfterMs() {
    const char* value = std::getenv("QUORBEL_ANSWER_AFTER_MS");
    return value ? std::atoi(value) : 0;
}

int answer(TModalRequest& Request) {
    reportRows();
    say("MODAL " + U8(Request.Caption) + ": " +
        (Request.Form ? labelsOf(Request.Form) : U8(Request.Text)));
    const auto until =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(answerAfterMs());
    while (std::chrono::steady_clock::now() < until) {
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    say("ANSWERED");
    return mrOk;
}

// Once the application object exists: the list is reported as it changes.
void startReporting() {
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [] { reportRows(); });
    timer->start(50);
}
Q_COREAPP_STARTUP_FUNCTION(startReporting)

} // namespace

int main(int argc, char** argv) {
    InitWideCommandLine(argc, argv);
    SetModalInterceptor(answer);
    return RunMainBlock(argc, argv);
}
