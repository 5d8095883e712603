// A page printed to PDF by a browser in headless mode: the real Chromium on pages numbered as
// Tovrik numbers its sheets, and stand-in programs for each way a browser or a target fails.

#include "base/browser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

using tovrik::PrintFault;

class tst_Print : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void realBrowser_data();
    void realBrowser();
    void pageThatNeverFinishes();
    void standIn_data();
    void standIn();
    void target_data();
    void target();
    void diskFull();
    void whichBrowser_data();
    void whichBrowser();
    void switchesAndAddress();

private:
    QTemporaryDir m_temporary; // where the browsers' profiles go, which must end empty
    QTemporaryDir m_work;
};

namespace {

QString faultName(PrintFault fault)
{
    static const char *const names[]
        = {"None",        "NoBrowser", "NoPage",   "CannotWrite", "NoTemporary",
           "CannotStart", "Failed",    "TimedOut", "NoPdf"};
    return QString::fromLatin1(names[int(fault)]);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

// A stand-in browser: a shell script that knows where it was asked to print ($pdf).
QString standInBrowser(const QString &folder, const QByteArray &body)
{
    const QString path = QDir(folder).filePath(QStringLiteral("browser"));
    writeFile(path,
              "#!/bin/sh\n"
              "for a; do case $a in --print-to-pdf=*) pdf=${a#--print-to-pdf=};; esac; done\n"
              "here=$(dirname \"$0\")\n"
                  + body + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// Three A4 pages, each numbered in its bottom margin as the sheet numbers its pages.
const QByteArray numberedPages = R"(<!DOCTYPE html><html lang="zh-CN"><head><meta charset="utf-8">
<style>
@page { size: A4 %1; margin: 20mm 15mm;
  @bottom-center { content: "第 " counter(page) " 页 共 " counter(pages) " 页"; } }
section { break-after: page; }
</style></head><body>
<section>管径计算书 甲</section><section>管径计算书 乙</section><div>管径计算书 丙</div>
</body></html>)";

// A message with its places filled: %1 the PDF, %2 the browser or the work folder.
QString filled(QString message, const QString &pdf, const QString &other)
{
    return message.replace(QStringLiteral("%1"), pdf).replace(QStringLiteral("%2"), other);
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Whether a process has ended, given a while: the group's members are killed at once but may
// take a moment to be gone.
bool ended(qint64 pid)
{
    for (int wait = 0; wait < 500; ++wait) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return true;
        const QByteArray line = stat.readAll();
        const qsizetype close = line.lastIndexOf(')');
        if (close >= 0 && line.mid(close + 2, 1) == "Z")
            return true; // dead, waiting for its new parent to reap it
        QThread::msleep(20);
    }
    return false;
}

// The processes whose command line names a folder.
QStringList processesNaming(const QString &folder)
{
    QStringList found;
    const QByteArray needle = folder.toUtf8();
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        entry.toLongLong(&number);
        if (!number || entry.toLongLong() == QCoreApplication::applicationPid())
            continue;
        if (readFile(QStringLiteral("/proc/%1/cmdline").arg(entry)).contains(needle))
            found << entry;
    }
    return found;
}

} // namespace

void tst_Print::initTestCase()
{
    QVERIFY(m_temporary.isValid() && m_work.isValid());
    qputenv("TMPDIR", m_temporary.path().toUtf8());
    qunsetenv("TOVRIK_BROWSER");
}

// Each test starts in a folder of its own; the last one's profiles must all be gone.
void tst_Print::init()
{
    QCOMPARE(QDir(m_temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
    QDir work(m_work.path());
    work.removeRecursively();
    QVERIFY(QDir().mkpath(m_work.path()));
}

void tst_Print::realBrowser_data()
{
    // dev.sh test installs the browser and poppler-utils; elsewhere their absence skips.
    const bool required = qEnvironmentVariableIsSet("TOVRIK_REQUIRE_TOOLS");
    if (tovrik::findBrowser().empty()
        || QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        if (required)
            QFAIL("chromium and pdftotext are needed");
        QSKIP("chromium or pdftotext is not installed");
    }
    QTest::addColumn<QByteArray>("orientation");
    QTest::addColumn<QString>("size");
    QTest::newRow("portrait") << QByteArray("portrait") << "594.96 x 841.92 pts (A4)";
    QTest::newRow("landscape") << QByteArray("landscape") << "841.92 x 594.96 pts (A4)";
}

// Tovrik's own page numbers on every page, and nothing of the browser's: no date, no title,
// no file:/// address. A Chinese name with a blank and a '#' reaches the browser as a name.
void tst_Print::realBrowser()
{
    QFETCH(QByteArray, orientation);
    QFETCH(QString, size);
    const QDir work(m_work.path());
    QVERIFY(work.mkpath(QStringLiteral("计算书 #1")));
    const QString html = work.filePath(QStringLiteral("计算书 #1/管径 %20.html"));
    writeFile(html, QByteArray(numberedPages).replace("%1", orientation));
    const QString pdf = work.filePath(QStringLiteral("计算书 #1/管径 %20.pdf"));
    writeFile(pdf, "an older PDF");

    const tovrik::PrintOutcome outcome = tovrik::printToPdf(html.toStdString(), pdf.toStdString());
    QVERIFY2(outcome,
             tovrik::printFaultText(outcome, html.toStdString(), pdf.toStdString()).c_str());
    QVERIFY(readFile(pdf).startsWith("%PDF-"));
    QString text = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    text.remove(QRegularExpression(QStringLiteral("\\s+")));
    // All the text there is, in order: a header or footer of the browser's would add its own.
    QCOMPARE(text,
             QStringLiteral("管径计算书甲第1页共3页管径计算书乙第2页共3页管径计算书丙第3页共3页"));
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n"))), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("Page size:       ") + size), qPrintable(info));
    QCOMPARE(work.entryList(QDir::Files), QStringList());
    QCOMPARE(QDir(work.filePath(QStringLiteral("计算书 #1"))).entryList(QDir::Files),
             QStringList({QStringLiteral("管径 %20.html"), QStringLiteral("管径 %20.pdf")}));
}

// A page whose script never ends holds the real browser's print: it is stopped, with every
// process it started, and its profile removed.
void tst_Print::pageThatNeverFinishes()
{
    if (tovrik::findBrowser().empty()) {
        if (qEnvironmentVariableIsSet("TOVRIK_REQUIRE_TOOLS"))
            QFAIL("chromium is needed");
        QSKIP("chromium is not installed");
    }
    const QDir work(m_work.path());
    const QString html = work.filePath(QStringLiteral("hang.html"));
    writeFile(html, "<!DOCTYPE html><p>x</p><script>for (;;) {}</script>");
    const QString pdf = work.filePath(QStringLiteral("hang.pdf"));
    tovrik::PrintOptions options;
    options.timeout = std::chrono::seconds(3);
    const tovrik::PrintOutcome outcome
        = tovrik::printToPdf(html.toStdString(), pdf.toStdString(), options);
    QCOMPARE(faultName(outcome.fault), QStringLiteral("TimedOut"));
    for (int wait = 0; wait < 500 && !processesNaming(m_temporary.path()).isEmpty(); ++wait)
        QThread::msleep(20);
    QCOMPARE(processesNaming(m_temporary.path()), QStringList());
    QCOMPARE(work.entryList(QDir::Files), QStringList({QStringLiteral("hang.html")}));
}

void tst_Print::standIn_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("older"); // a PDF is there already
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message"); // %1 the PDF, %2 the browser
    const QString kept = QStringLiteral("原有的文件没有改动。");
    QTest::newRow("prints") << QByteArray("printf '%%PDF-1.4 stand-in' > \"$pdf\"") << false
                            << "None" << QString();
    QTest::newRow("prints over an older PDF")
        << QByteArray("printf '%%PDF-1.4 stand-in' > \"$pdf\"") << true << "None" << QString();
    QTest::newRow("fails") << QByteArray("exit 1") << true << "Failed"
                           << "无法生成 PDF“%1”：浏览器“%2”出错退出（退出状态 1）。" + kept;
    QTest::newRow("prints, then fails")
        << QByteArray("printf '%%PDF-1.4' > \"$pdf\"; exit 2") << false << "Failed"
        << "无法生成 PDF“%1”：浏览器“%2”出错退出（退出状态 2）。";
    QTest::newRow("crashes") << QByteArray("kill -SEGV $$") << true << "Failed"
                             << "无法生成 PDF“%1”：浏览器“%2”异常终止（信号 11）。" + kept;
    QTest::newRow("prints nothing") << QByteArray("exit 0") << false << "NoPdf"
                                    << "无法生成 PDF“%1”：浏览器“%2”没有给出 PDF 文件。";
    QTest::newRow("prints an empty file")
        << QByteArray(": > \"$pdf\"") << true << "NoPdf"
        << "无法生成 PDF“%1”：浏览器“%2”没有给出 PDF 文件。" + kept;
    QTest::newRow("prints a page, not a PDF")
        << QByteArray("echo '<html>' > \"$pdf\"") << false << "NoPdf"
        << "无法生成 PDF“%1”：浏览器“%2”没有给出 PDF 文件。";
    // Its child must go too: it stands for the renderers a browser starts.
    QTest::newRow("hangs") << QByteArray("sleep 600 & echo $! > \"$here/child\"; wait") << true
                           << "TimedOut"
                           << "无法生成 PDF“%1”：浏览器“%2”超过 1 秒没有完成，已被停止。" + kept;
}

// Each way a browser can end: only a good end with a PDF replaces the file; the HTML, the file
// that was there and nothing else are left, and the browser's temporary folder goes.
void tst_Print::standIn()
{
    QFETCH(QByteArray, script);
    QFETCH(bool, older);
    QFETCH(QString, fault);
    QFETCH(QString, message);
    const QDir work(m_work.path());
    const QString html = work.filePath(QStringLiteral("sheet.html"));
    writeFile(html, "<p>sheet</p>");
    const QString pdf = work.filePath(QStringLiteral("sheet.pdf"));
    if (older)
        writeFile(pdf, "an older PDF");
    tovrik::PrintOptions options;
    options.browser = standInBrowser(m_work.path(), script).toStdString();
    options.timeout = std::chrono::seconds(1);

    const tovrik::PrintOutcome outcome
        = tovrik::printToPdf(html.toStdString(), pdf.toStdString(), options);
    QCOMPARE(faultName(outcome.fault), fault);
    QCOMPARE(QString::fromStdString(
                 tovrik::printFaultText(outcome, html.toStdString(), pdf.toStdString())),
             filled(message, pdf, QString::fromStdString(options.browser)));
    QCOMPARE(readFile(html), QByteArray("<p>sheet</p>"));
    QCOMPARE(readFile(pdf),
             outcome ? QByteArray("%PDF-1.4 stand-in")
                     : (older ? QByteArray("an older PDF") : QByteArray("(none)")));
    QStringList files {QStringLiteral("browser"), QStringLiteral("sheet.html")};
    if (older || outcome)
        files << QStringLiteral("sheet.pdf");
    if (QFile::exists(work.filePath(QStringLiteral("child")))) {
        QVERIFY(ended(readFile(work.filePath(QStringLiteral("child"))).trimmed().toLongLong()));
        files << QStringLiteral("child");
    }
    files.sort();
    QCOMPARE(work.entryList(QDir::Files), files);
}

void tst_Print::target_data()
{
    QTest::addColumn<QString>("target"); // in the work folder
    QTest::addColumn<bool>("started"); // whether the browser ran
    QTest::addColumn<QString>("message");
    QTest::newRow("folder gone") << "gone/sheet.pdf" << false
                                 << "无法生成 PDF“%1”：没有那个文件或目录。";
    QTest::newRow("under a file") << "sheet.html/sheet.pdf" << false
                                  << "无法生成 PDF“%1”：不是目录。";
    QTest::newRow("a folder by its name")
        << "folder" << false << "无法生成 PDF“%1”：是一个目录。原有的文件没有改动。";
    QTest::newRow("read-only folder")
        << "locked/sheet.pdf" << false << "无法生成 PDF“%1”：权限不够。";
}

// A PDF that cannot be written is said, before the browser is troubled where that is known;
// nothing is left behind.
void tst_Print::target()
{
    QFETCH(QString, target);
    QFETCH(bool, started);
    QFETCH(QString, message);
    const QDir work(m_work.path());
    QVERIFY(work.mkpath(QStringLiteral("folder")));
    QVERIFY(work.mkpath(QStringLiteral("locked")));
    QFile::setPermissions(work.filePath(QStringLiteral("locked")),
                          QFile::ReadOwner | QFile::ExeOwner);
    if (target.startsWith(QStringLiteral("locked")) && ::geteuid() == 0)
        QSKIP("permissions do not bind root; the other rows run as root");
    const QString html = work.filePath(QStringLiteral("sheet.html"));
    writeFile(html, "<p>sheet</p>");
    tovrik::PrintOptions options;
    options.browser
        = standInBrowser(m_work.path(), "touch \"$here/started\"; printf '%%PDF-1.4' > \"$pdf\"")
              .toStdString();
    const QString pdf = work.filePath(target);

    const tovrik::PrintOutcome outcome
        = tovrik::printToPdf(html.toStdString(), pdf.toStdString(), options);
    QCOMPARE(faultName(outcome.fault), QStringLiteral("CannotWrite"));
    QCOMPARE(QString::fromStdString(
                 tovrik::printFaultText(outcome, html.toStdString(), pdf.toStdString())),
             filled(message, pdf, {}));
    QCOMPARE(QFile::exists(work.filePath(QStringLiteral("started"))), started);
    QStringList files {QStringLiteral("browser"), QStringLiteral("sheet.html")};
    if (started)
        files << QStringLiteral("started");
    QCOMPARE(work.entryList(QDir::Files), files);
    for (const char *folder : {"folder", "locked"})
        QCOMPARE(QDir(work.filePath(QString::fromLatin1(folder)))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
}

// A PDF that stops being written half-way (the file system full, here a limit on the size of
// the files this process may write) leaves the older file whole and no part of the new one.
void tst_Print::diskFull()
{
    const QDir work(m_work.path());
    const QString html = work.filePath(QStringLiteral("sheet.html"));
    writeFile(html, "<p>sheet</p>");
    const QString pdf = work.filePath(QStringLiteral("sheet.pdf"));
    writeFile(pdf, "an older PDF");
    tovrik::PrintOptions options;
    // The browser lifts the limit for itself and prints 200 kB.
    options.browser = standInBrowser(m_work.path(),
                                     "ulimit -f unlimited; { printf '%%PDF-1.4'; "
                                     "head -c 200000 /dev/zero; } > \"$pdf\"")
                          .toStdString();
    rlimit limit {};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit before = limit;
    if (limit.rlim_max != RLIM_INFINITY)
        QSKIP("the file size limit cannot be lifted here");
    limit.rlim_cur = 65536;
    const auto signal = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const tovrik::PrintOutcome outcome
        = tovrik::printToPdf(html.toStdString(), pdf.toStdString(), options);
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, signal);

    QCOMPARE(faultName(outcome.fault), QStringLiteral("CannotWrite"));
    QCOMPARE(QString::fromStdString(
                 tovrik::printFaultText(outcome, html.toStdString(), pdf.toStdString())),
             QStringLiteral("无法生成 PDF“%1”：文件过大。原有的文件没有改动。").arg(pdf));
    QCOMPARE(readFile(pdf), QByteArray("an older PDF"));
    QCOMPARE(work.entryList(QDir::Files),
             QStringList({QStringLiteral("browser"), QStringLiteral("sheet.html"),
                          QStringLiteral("sheet.pdf")}));
}

void tst_Print::whichBrowser_data()
{
    QTest::addColumn<QString>("given"); // the call's browser; "@" for the stand-in's path
    QTest::addColumn<QString>("named"); // TOVRIK_BROWSER
    QTest::addColumn<QString>("path"); // PATH
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message"); // %1 the PDF, %2 the work folder
    QTest::newRow("none installed") << ""
                                    << ""
                                    << "@/empty"
                                    << "NoBrowser"
                                    << "无法生成 PDF“%1”：没有找到可用的浏览器（Chromium 或 "
                                       "Google Chrome），可用环境变量 TOVRIK_BROWSER 指明。";
    QTest::newRow("given, not there")
        << "@/nowhere"
        << ""
        << "@/empty"
        << "CannotStart"
        << "无法生成 PDF“%1”：无法启动浏览器“%2/nowhere”（没有那个文件或目录）。";
    QTest::newRow("given, not a program")
        << "@/sheet.html"
        << ""
        << "@/empty"
        << "CannotStart"
        << "无法生成 PDF“%1”：无法启动浏览器“%2/sheet.html”（权限不够）。";
    QTest::newRow("given") << "@/browser"
                           << "@/nowhere"
                           << "@/empty"
                           << "None" << QString();
    QTest::newRow("named") << ""
                           << "@/browser"
                           << "@/empty"
                           << "None" << QString();
    QTest::newRow("named by its name on PATH") << ""
                                               << "browser"
                                               << "@"
                                               << "None" << QString();
    QTest::newRow("named, not there")
        << ""
        << "no-such-browser"
        << "@"
        << "CannotStart"
        << "无法生成 PDF“%1”：无法启动浏览器“no-such-browser”（没有那个文件或目录）。";
}

// The browser given to the call, else the one TOVRIK_BROWSER names, else an installed one.
void tst_Print::whichBrowser()
{
    QFETCH(QString, given);
    QFETCH(QString, named);
    QFETCH(QString, path);
    QFETCH(QString, fault);
    QFETCH(QString, message);
    const QDir work(m_work.path());
    QVERIFY(work.mkpath(QStringLiteral("empty")));
    const QString html = work.filePath(QStringLiteral("sheet.html"));
    writeFile(html, "<p>sheet</p>");
    const QString pdf = work.filePath(QStringLiteral("sheet.pdf"));
    standInBrowser(m_work.path(), "printf '%%PDF-1.4 stand-in' > \"$pdf\"");
    const QByteArray oldPath = qgetenv("PATH");
    const auto here = [&](QString text) { return text.replace('@', m_work.path()); };
    qputenv("PATH", here(path).toUtf8());
    if (!named.isEmpty())
        qputenv("TOVRIK_BROWSER", here(named).toUtf8());
    tovrik::PrintOptions options;
    options.browser = here(given).toStdString();
    const tovrik::PrintOutcome outcome
        = tovrik::printToPdf(html.toStdString(), pdf.toStdString(), options);
    qputenv("PATH", oldPath);
    qunsetenv("TOVRIK_BROWSER");
    QCOMPARE(faultName(outcome.fault), fault);
    QCOMPARE(QString::fromStdString(
                 tovrik::printFaultText(outcome, html.toStdString(), pdf.toStdString())),
             filled(message, pdf, m_work.path()));
    QCOMPARE(readFile(pdf), outcome ? QByteArray("%PDF-1.4 stand-in") : QByteArray("(none)"));
}

// What the browser is asked: headless, no header or footer, off the network, a profile of its
// own that is gone afterwards, and the page's address with its name escaped.
void tst_Print::switchesAndAddress()
{
    const QDir work(m_work.path());
    QVERIFY(work.mkpath(QStringLiteral("管径 %20")));
    const QString html = work.filePath(QStringLiteral("管径 %20/计算书 #1.html"));
    writeFile(html, "<p>sheet</p>");
    const QString pdf = work.filePath(QStringLiteral("sheet.pdf"));
    tovrik::PrintOptions options;
    options.browser = standInBrowser(m_work.path(),
                                     "{ echo '%PDF-1.4'; for a; do echo \"$a\"; "
                                     "done; } > \"$pdf\"")
                          .toStdString();
    QVERIFY(tovrik::printToPdf(html.toStdString(), pdf.toStdString(), options));
    const QList<QByteArray> lines = readFile(pdf).split('\n');
    QVERIFY(lines.size() > 6);
    QStringList switches;
    for (const QByteArray &line : lines.mid(1, lines.size() - 5))
        switches << QString::fromUtf8(line);
    QStringList expected {"--headless",
                          "--no-pdf-header-footer",
                          "--print-to-pdf-no-header",
                          "--disable-gpu",
                          "--disable-quic",
                          "--no-first-run",
                          "--disable-background-networking",
                          "--disable-component-update",
                          "--disable-sync",
                          "--disable-pdf-tagging"};
    if (::geteuid() == 0)
        expected << QStringLiteral("--no-sandbox");
    QCOMPARE(switches, expected);
    const QString profile = QString::fromUtf8(lines[lines.size() - 4]);
    QVERIFY2(profile.startsWith("--user-data-dir=" + m_temporary.path() + "/tovrik-print-"),
             qPrintable(profile));
    QVERIFY(!QFile::exists(profile.mid(profile.indexOf('=') + 1)));
    QVERIFY(lines[lines.size() - 3].startsWith("--print-to-pdf=" + m_temporary.path().toUtf8()));
    QCOMPARE(lines[lines.size() - 2],
             "file://" + QFile::encodeName(QDir(m_work.path()).canonicalPath())
                 + "/%E7%AE%A1%E5%BE%84%20%2520/%E8%AE%A1%E7%AE%97%E4%B9%A6%20%231.html");
}

QTEST_GUILESS_MAIN(tst_Print)
#include "tst_print.moc"
