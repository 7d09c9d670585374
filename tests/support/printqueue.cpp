#include "support/printqueue.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

namespace testsupport {

namespace {

const char *const kNoPrintersVar = "QUILLON_TEST_NO_PRINTERS";

QDir outDir()
{
    return QDir(qEnvironmentVariable("QUILLON_TEST_PRINT_DIR"));
}

QSet<QString> pdfsIn(const QDir &dir)
{
    const QStringList names = dir.entryList({QStringLiteral("*.pdf")}, QDir::Files);
    return QSet<QString>(names.begin(), names.end());
}

// cups-pdf writes the file while ghostscript runs: done once it ends the
// document and stops growing.
bool complete(const QString &path, qint64 &lastSize)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = f.size();
    const bool stable = size > 0 && size == lastSize;
    lastSize = size;
    if (!stable)
        return false;
    f.seek(std::max<qint64>(0, size - 1024));
    return f.readAll().contains("%%EOF");
}

QString run(const QString &tool, const QStringList &args)
{
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

QString PrintQueue::missing()
{
    if (qEnvironmentVariableIsEmpty("QUILLON_TEST_PRINT_DIR"))
        return QStringLiteral("QUILLON_TEST_PRINT_DIR is not set");
    if (!outDir().exists())
        return QStringLiteral("the print folder %1 does not exist").arg(outDir().path());
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        return QStringLiteral("pdftotext is not installed (poppler-utils)");
    if (QPrinterInfo::defaultPrinter().isNull())
        return QStringLiteral("Qt sees no default printer through CUPS_SERVER=%1")
            .arg(qEnvironmentVariable("CUPS_SERVER"));
    return QString();
}

PrintQueue::Printout PrintQueue::print(const std::function<bool()> &print, int timeoutMs)
{
    const QDir dir = outDir();
    QLockFile lock(dir.filePath(QStringLiteral(".one-job-at-a-time")));
    if (!lock.tryLock(120000))
        return {QString(), QStringLiteral("Another test held the print queue for two minutes")};

    const QSet<QString> before = pdfsIn(dir);
    if (!print())
        return {QString(), QStringLiteral("The print failed before any job reached the queue")};

    QDeadlineTimer deadline(timeoutMs);
    qint64 lastSize = -1;
    while (!deadline.hasExpired()) {
        const QSet<QString> fresh = pdfsIn(dir) - before;
        if (fresh.size() > 1)
            return {QString(), QStringLiteral("One print gave %1 PDFs").arg(fresh.size())};
        if (fresh.size() == 1) {
            const QString path = dir.filePath(*fresh.begin());
            if (complete(path, lastSize))
                return {path, QString()};
        }
        QThread::msleep(100);
    }
    const QString jobs = run(QStringLiteral("lpstat"), {QStringLiteral("-o")});
    return {QString(), QStringLiteral("No complete PDF in %1 within %2 s of printing; jobs not done: %3")
                           .arg(dir.path())
                           .arg(timeoutMs / 1000)
                           .arg(jobs.trimmed().isEmpty() ? QStringLiteral("none") : jobs.trimmed())};
}

QString PrintQueue::closedQueue()
{
    return qEnvironmentVariable("QUILLON_TEST_CLOSED_QUEUE");
}

QString PrintQueue::text(const QString &pdf)
{
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

QList<PdfWord> PrintQueue::words(const QString &pdf)
{
    static const QRegularExpression tag(QStringLiteral(
        R"re(<page |<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re"));
    QList<PdfWord> words;
    int page = -1;
    auto it = tag.globalMatch(run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        QString text = m.captured(5);
        text.replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&gt;"), QLatin1String(">"))
            .replace(QLatin1String("&quot;"), QLatin1String("\""))
            .replace(QLatin1String("&amp;"), QLatin1String("&"));
        const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
        words.append({text, QRectF(topLeft, bottomRight), page});
    }
    return words;
}

bool PrintQueue::withoutPrinters()
{
    return qEnvironmentVariableIsSet(kNoPrintersVar);
}

PrintQueue::Child PrintQueue::runWithoutPrinters()
{
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    QTemporaryDir home;
    QDir(home.path()).mkdir(QStringLiteral("work"));
    const QString work = home.filePath(QStringLiteral("work"));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kNoPrintersVar), QStringLiteral("1"));
    // No server listens there, and no user setting names a printer.
    env.insert(QStringLiteral("CUPS_SERVER"), home.filePath(QStringLiteral("no-cups.sock")));
    env.insert(QStringLiteral("HOME"), home.path());
    env.remove(QStringLiteral("PRINTER"));
    env.remove(QStringLiteral("LPDEST"));

    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(work);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QCoreApplication::applicationFilePath(),
            {QStringLiteral("--gtest_filter=%1.%2").arg(QString::fromUtf8(test->test_suite_name()),
                                                       QString::fromUtf8(test->name()))});
    Child child;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        child.output = QStringLiteral("The child test did not end within two minutes");
        return child;
    }
    child.output = QString::fromUtf8(p.readAll());
    child.passed = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 &&
                   child.output.contains(QLatin1String("[  PASSED  ] 1 test"));
    child.filesLeft = QDir(work).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    return child;
}

} // namespace testsupport
