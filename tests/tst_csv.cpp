#include "core/csv.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>

#include <cerrno>
#include <cstdio>
#include <cstring>

using namespace tovrik;

// The line list's reader on each of its ways through a file: the plain rows of the fast path,
// the general path's quotes and line ends, records cut by the end of a read, and what is no CSV.
class tst_Csv : public QObject
{
    Q_OBJECT

private slots:
    void records_data();
    void records();
    void plainRowsAsSplit();
    void rawStarts();
    void directoryIsNoList();
};

namespace {

constexpr qsizetype chunk = 1 << 20; // what the reader asks of each read

// Bytes through a FILE, as a file gives them, failing with EIO from failAt on when it is set.
struct Source
{
    QByteArray bytes;
    qsizetype failAt = -1;
    qsizetype pos = 0;
};

std::FILE *open(Source &source)
{
    const cookie_io_functions_t functions {
        [](void *cookie, char *out, std::size_t size) -> ssize_t {
            Source &s = *static_cast<Source *>(cookie);
            if (s.failAt >= 0 && s.pos >= s.failAt) {
                errno = EIO;
                return -1;
            }
            const qsizetype end = s.failAt >= 0 ? s.failAt : s.bytes.size();
            const auto n = std::min<qsizetype>(qsizetype(size), end - s.pos);
            std::memcpy(out, s.bytes.constData() + s.pos, std::size_t(n));
            s.pos += n;
            return n;
        },
        nullptr, nullptr, nullptr};
    return fopencookie(&source, "r", functions);
}

// A field as text: its bytes past ASCII escaped when they are no UTF-8, its line breaks and
// byte-order marks shown, a long one by its start and size.
QString shown(std::string_view field, bool undecodable)
{
    if (field.size() > 24)
        return shown(field.substr(0, 3), undecodable) + QStringLiteral("…(%1)").arg(field.size());
    QString text;
    if (!undecodable) {
        // With a byte-order mark kept, where a second one would be.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        text = utf8(QByteArrayView(field.data(), qsizetype(field.size())));
    } else {
        for (const char c : field) {
            const auto byte = static_cast<unsigned char>(c);
            text += byte < 0x80 ? QString(QChar(byte))
                                : QStringLiteral("\\x%1").arg(uint(byte), 2, 16);
        }
    }
    return text.replace('\n', u'⏎').replace('\r', u'␍').replace(QChar(0xFEFF), "<BOM>");
}

// "bom LF" and then each record as "line: field|field" ("line!:" when undecodable), ending
// with the error that stopped the reading.
QString readAll(const QByteArray &bytes, Encoding encoding, qsizetype failAt = -1)
{
    Source source {bytes, failAt};
    std::FILE *file = open(source);
    CsvReader reader(file, encoding);
    QStringList lines;
    try {
        CsvRecord record;
        while (reader.next(record)) {
            QStringList fields;
            for (const std::string_view field : record.fields)
                fields << shown(field, record.undecodable);
            lines << QStringLiteral("%1%2: %3")
                         .arg(record.line)
                         .arg(record.undecodable ? "!" : "")
                         .arg(fields.join('|'));
        }
    } catch (const CsvError &error) {
        static const char *const kinds[]
            = {"NotUtf8", "NotGbk", "Utf16", "OpenQuote", "ReadFailed"};
        lines << QStringLiteral("%1 at line %2%3")
                     .arg(kinds[error.kind])
                     .arg(error.line)
                     .arg(error.kind == CsvError::ReadFailed && error.error == EIO ? ", EIO" : "");
    }
    std::fclose(file);
    const QString end = reader.lineEnd() == "\r\n" ? "CRLF"
        : reader.lineEnd() == "\r"                 ? "CR"
                                                   : "LF";
    lines.prepend((reader.hadByteOrderMark() ? "BOM " : "") + end);
    return lines.join('\n');
}

QByteArray times(qsizetype n, char c)
{
    return QByteArray(n, c);
}

} // namespace

Q_DECLARE_METATYPE(tovrik::Encoding)

void tst_Csv::records_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<int>("failAt"); // -1: no read fails
    QTest::addColumn<QString>("expected");
    const Encoding utf8 = Encoding::Utf8;
    const Encoding gbk = Encoding::Gbk;

    QTest::newRow("plain rows") << QByteArray("tag,medium,Q\nL-0000001,air,600\nL-2,water,100\n")
                                << utf8 << -1
                                << "LF\n1: tag|medium|Q\n2: L-0000001|air|600\n3: L-2|water|100";
    // The LF or CRLF at each place in a word, a tab as text, an empty row.
    QTest::newRow("plain rows' ends in every place")
        << QByteArray("h\nabcdefg\nabcdefgh\r\nabcdefg\r\n,,,,,,,,\n\n\ta\tb,\n1234567,9\r\n")
        << utf8 << -1
        << "LF\n1: h\n2: abcdefg\n3: abcdefgh\n4: abcdefg\n5: ||||||||\n6: \n7: \ta\tb|\n8: "
           "1234567|9";
    QTest::newRow("quoted fields")
        << QByteArray("h\n\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",z\nnext,row\n") << utf8 << -1
        << "LF\n1: h\n2: a,b|say \"hi\"|two⏎lines|z\n4: next|row";
    QTest::newRow("text after a closing quote")
        << QByteArray("h\n\"ab\"cd,\"\"e,\"f\"\"\"g\n") << utf8 << -1 << "LF\n1: h\n2: abcd|e|f\"g";
    QTest::newRow("a quote inside a field is text")
        << QByteArray("h\n2\" pipe,a\"b\"\n") << utf8 << -1 << "LF\n1: h\n2: 2\" pipe|a\"b\"";
    QTest::newRow("line ends mixed") << QByteArray("h\r\na\rb\nc\r\nd,e") << utf8 << -1
                                     << "CRLF\n1: h\n2: a\n3: b\n4: c\n5: d|e";
    QTest::newRow("lone CRs") << QByteArray("h\rabcdefghij\rk\r") << utf8 << -1
                              << "CR\n1: h\n2: abcdefghij\n3: k";
    QTest::newRow("line ends inside quotes") << QByteArray("h\n\"a\rb\",c\n\"d\r\ne\"\nf\n") << utf8
                                             << -1 << "LF\n1: h\n2: a␍b|c\n4: d␍⏎e\n6: f";
    QTest::newRow("an empty file") << QByteArray() << utf8 << -1 << "LF";

    // The reader takes a MiB at a time: these records cross from one read to the next.
    QTest::newRow("a CRLF split across two reads") << "h\n" + times(chunk - 3, 'x')
            + "\r\nnext\n" << utf8 << -1 << "LF\n1: h\n2: xxx…(1048573)\n3: next";
    QTest::newRow("a quoted CRLF split across two reads") << "h\n\"" + times(chunk - 4, 'x')
            + "\r\ny\"\nnext\n" << utf8 << -1 << "LF\n1: h\n2: xxx…(1048575)\n4: next";
    QTest::newRow("a plain row split across two reads")
        << "h\n" + times(chunk - 6, 'x') + ",abcdefgh,i\nnext\n"
        << utf8 << -1 << "LF\n1: h\n2: xxx…(1048570)|abcdefgh|i\n3: next";
    QTest::newRow("a record longer than the buffer") << "h\n" + times(3 * chunk, 'x')
            + ",y\nz\n" << utf8 << -1 << "LF\n1: h\n2: xxx…(3145728)|y\n3: z";

    QTest::newRow("a UTF-8 byte-order mark")
        << QByteArray("\xEF\xBB\xBFh,i\na,b\n") << utf8 << -1 << "BOM LF\n1: h|i\n2: a|b";
    QTest::newRow("two byte-order marks")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFmedium,Q\nwater,1\n") << utf8 << -1
        << "BOM LF\n1: medium|Q\n2: water|1";
    QTest::newRow("a byte-order mark alone")
        << QByteArray("\xEF\xBB\xBF") << utf8 << -1 << "BOM LF";
    QTest::newRow("UTF-16 little-endian")
        << QByteArray("\xFF\xFEh\0\n\0", 6) << utf8 << -1 << "LF\nUtf16 at line 1";
    QTest::newRow("UTF-16 big-endian")
        << QByteArray("\xFE\xFF\0h\0\n", 6) << utf8 << -1 << "LF\nUtf16 at line 1";
    QTest::newRow("UTF-16 little-endian without a mark")
        << QByteArray("h\0,\0", 4) << utf8 << -1 << "LF\nUtf16 at line 1";
    QTest::newRow("UTF-16 big-endian without a mark")
        << QByteArray("\0h\0,", 4) << utf8 << -1 << "LF\nUtf16 at line 1";

    QTest::newRow("UTF-8 past ASCII") << QByteArray("h\n管线-1,水,100\n\"管,线\",水\n") << utf8
                                      << -1 << "LF\n1: h\n2: 管线-1|水|100\n3: 管,线|水";
    QTest::newRow("no UTF-8")
        << QByteArray("h\nab\xFF,cdefghij\nabcdefgh,\xFF\n\"\xFF\",a\nok\n") << utf8 << -1
        << "LF\n1: h\n2!: ab\\xff|cdefghij\n3!: abcdefgh|\\xff\n4!: \\xff|a\n5: ok";
    QTest::newRow("GBK") << QByteArray(
        "h\n\xCB\xAE,100,2,\xD2\xBB\xBA\xC5\xCF\xDF\nabcdefgh,\xCB\xAE\n\"\xD2\xBB,\",1\n")
                         << gbk << -1 << "LF\n1: h\n2: 水|100|2|一号线\n3: abcdefgh|水\n4: 一,|1";
    QTest::newRow("no GBK") << QByteArray("h\n\xCB\x20,1,2,3,4\n\"\xCB\",1\nwater,1\n") << gbk << -1
                            << "LF\n1: h\n2!: \\xcb |1|2|3|4\n3!: \\xcb|1\n4: water|1";

    QTest::newRow("a quote left open")
        << QByteArray("h\na,\"b\nc\n") << utf8 << -1 << "LF\n1: h\nOpenQuote at line 2";
    QTest::newRow("a read that fails") << QByteArray("h\nab\ncd\nef\n") << utf8 << 8
                                       << "LF\n1: h\n2: ab\n3: cd\nReadFailed at line 4, EIO";
    QTest::newRow("a read that fails inside a record")
        << QByteArray("h\nab\n\"cd\nef\"\n") << utf8 << 8
        << "LF\n1: h\n2: ab\nReadFailed at line 3, EIO";
}

void tst_Csv::records()
{
    QFETCH(QByteArray, input);
    QFETCH(Encoding, encoding);
    QFETCH(int, failAt);
    QFETCH(QString, expected);

    QCOMPARE(readAll(input, encoding, failAt), expected);
}

// Rows of every length and comma place, split by the fast path as a plain split would.
void tst_Csv::plainRowsAsSplit()
{
    QRandomGenerator random(5);
    const QByteArray alphabet = "abcXYZ019.- \t";
    QByteArray input = "h\n";
    QStringList expected {"LF", "1: h"};
    for (int row = 0; row < 5000; ++row) {
        QByteArray line;
        for (int field = random.bounded(1, 12); field > 0; --field) {
            for (int n = random.bounded(0, random.bounded(1, 20)); n > 0; --n)
                line += alphabet[random.bounded(alphabet.size())];
            if (field > 1)
                line += ',';
        }
        input += line + (random.bounded(4) == 0 ? "\r\n" : "\n");
        QStringList fields;
        for (const QByteArray &field : line.split(','))
            fields << QString::fromLatin1(field);
        expected << QStringLiteral("%1: %2").arg(row + 2).arg(fields.join('|'));
    }
    QCOMPARE(readAll(input, Encoding::Utf8), expected.join('\n'));
}

// Where each field begins in the record as written, which the batch copies the row by.
void tst_Csv::rawStarts()
{
    Source source {"h\nab,,cde\n\"a,\"\"b\",c,\"\"\n"};
    std::FILE *file = open(source);
    CsvReader reader(file);
    CsvRecord record;
    QList<QList<std::size_t>> starts;
    while (reader.next(record)) {
        starts.append(QList<std::size_t>());
        for (std::size_t field = 0; field <= record.fields.size(); ++field)
            starts.back() << record.rawStart(field);
    }
    std::fclose(file);
    QCOMPARE(starts, (QList<QList<std::size_t>> {{0, 2}, {0, 3, 4, 8}, {0, 8, 10, 13}}));
}

void tst_Csv::directoryIsNoList()
{
    std::FILE *file = std::fopen("/", "r");
    QVERIFY(file);
    CsvReader reader(file);
    CsvRecord record;
    try {
        reader.next(record);
        QFAIL("a directory read as a list");
    } catch (const CsvError &error) {
        QCOMPARE(int(error.kind), int(CsvError::ReadFailed));
        QCOMPARE(error.error, EISDIR);
    }
    std::fclose(file);
}

QTEST_APPLESS_MAIN(tst_Csv)
#include "tst_csv.moc"
