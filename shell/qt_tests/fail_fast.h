// Flows play the user inside dialogs' own loops. When a check fails there, the dialog would stay
// open and the test wait on it until its time ran out: the watchdog closes whatever modal window
// is open once the test has failed, so the failure is reported within a moment.
#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace lekta::flow {

// Started once per test program; checks twenty times a second.
inline void start_failure_watchdog() {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (!QTest::currentTestFailed()) return;
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    timer->start(50);
}

}  // namespace lekta::flow
