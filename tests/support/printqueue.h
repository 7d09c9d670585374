#pragma once

#include <QList>
#include <QRectF>
#include <QString>
#include <functional>
#include <gtest/gtest.h>

namespace testsupport {

// A word of a printed PDF with its box in points, top left origin.
struct PdfWord {
    QString text;
    QRectF box;
    int page = 0;
};

// The test run's default printer (scripts/print-queue.sh): a CUPS queue whose
// paper is a PDF file in QUILLON_TEST_PRINT_DIR. Jobs of all test processes
// land in that one folder, so print() takes a lock for one job at a time.
class PrintQueue {
public:
    struct Printout {
        QString pdf;     // the job's PDF, complete
        QString failure; // why there is none
    };

    // Empty when the queue is there and the program sees it as the default
    // printer; otherwise why not.
    static QString missing();

    // Runs print, which prints one job on the default printer and returns
    // false if it failed, then waits up to timeoutMs for that job's PDF.
    static Printout print(const std::function<bool()> &print, int timeoutMs = 60000);

    // The queue of the run that refuses every job.
    static QString closedQueue();

    static QString text(const QString &pdf);
    static QList<PdfWord> words(const QString &pdf);

    // True in a child started by runWithoutPrinters().
    static bool withoutPrinters();

    struct Child {
        bool passed = false;
        QString output;
        QStringList filesLeft; // what the child wrote in its working folder
    };
    // Runs the current test again in a child process that reaches no CUPS
    // server, as on a computer with no printer installed.
    static Child runWithoutPrinters();
};

} // namespace testsupport

// Skips the test when the run has no print queue, or fails it under CI,
// where the queue must be there.
#define QUILLON_REQUIRE_PRINT_QUEUE()                                                            \
    do {                                                                                         \
        const QString why_ = ::testsupport::PrintQueue::missing();                               \
        if (!why_.isEmpty()) {                                                                   \
            if (qgetenv("CI") == "true")                                                         \
                FAIL() << "No print queue under CI: " << why_.toStdString();                     \
            GTEST_SKIP() << "No print queue (run ./test.sh): " << why_.toStdString();            \
        }                                                                                        \
    } while (0)
