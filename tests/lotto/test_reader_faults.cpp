#include "core/base/text_files.h"
#include "core/lotto/draw_import.h"
#include "core/lotto/lotto_document.h"
#include "core/lotto/lotto_files.h"
#include "core/tsets/tset_files.h"
#include "support/faults.h"
#include "support/test_files.h"

#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

// Every reader of the program's files under a read that fails partway, one that ends short of
// the file's size, and files that are no regular files: each must call the file unreadable, never
// take the part it read for the whole.

namespace {

enum Reader { text_lines, draws, document, import_source, set };
enum Fault { none, error_partway, ends_short, fifo, char_device, a_folder };

constexpr int line_count = 722;

QByteArray content(Reader reader) {
    QByteArray out;
    if (reader == import_source)
        out += "Date,N1,N2,N3,N4,N5,N6,Bonus\n";
    for (int i = 0; i < line_count; ++i) {
        const QByteArray date = QDate(2000, 1, 1).addDays(i * 3).toString(Qt::ISODate).toLatin1();
        if (reader == import_source)
            out += date + ",1,2,3,4,5,6,7\n";
        else if (reader == set)
            out += date + " 1 2 3 4 5 6 7 8 9 10 \r\n";
        else
            out += date + " 1 2 3 4 5 6 7 \r\n";
    }
    return out;
}

struct Outcome {
    bool read = false;
    qsizetype rows = 0;
    QString error;
};

Outcome run(Reader reader, const QString& folder, const QString& path) {
    Outcome o;
    switch (reader) {
    case text_lines: {
        const auto lines = read_text_lines(path, &o.error);
        o.read = lines.has_value();
        o.rows = lines ? lines->size() : 0;
        break;
    }
    case draws: {
        TextTable grid;
        reset_draws_table(grid);
        o.read = read_draws_file(path, grid, &o.error);
        o.rows = grid.rows() - 1;
        break;
    }
    case document: {
        LottoDocument doc;
        const auto load = doc.load_draws(folder, QStringLiteral("S"));
        o.read = load == LottoDocument::Load::loaded;
        o.rows = doc.draws().rows() - 1;
        o.error = doc.load_error();
        // Nothing may be saved over a file that was not read whole.
        if (!o.read && doc.may_save(folder, QStringLiteral("S")) != LottoDocument::Save::unread)
            o.error += QStringLiteral(" [a save would replace the file]");
        break;
    }
    case import_source: {
        LottoParams lotto;
        lotto.play_n = 49;
        lotto.pick_n = 6;
        const ImportResult r = import_draws_file(path, lotto, {});
        o.read = r.status != ImportStatus::nothing_done;
        o.rows = static_cast<qsizetype>(r.rows_read);
        o.error = r.message;
        break;
    }
    case set: {
        const auto s = read_tset_file(path, QStringLiteral("F"), 10, &o.error);
        o.read = s.has_value();
        o.rows = s ? static_cast<qsizetype>(s->rows.size()) : 0;
        break;
    }
    }
    return o;
}

} // namespace

class TestReaderFaults : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void readers_data() {
        QTest::addColumn<int>("reader");
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("error"); // a part of it; empty: read whole
        const std::pair<Reader, const char*> readers[] = {{text_lines, "text lines"},
                                                          {draws, "draws file"},
                                                          {document, "lotto document"},
                                                          {import_source, "import source"},
                                                          {set, "set file"}};
        const std::tuple<Fault, const char*, const char*> faults[] = {
            {none, "read whole", ""},
            {error_partway, "read error partway", "Input/output error"},
            {ends_short, "ends short of its size", "ended after"},
            {fifo, "a pipe", "not a regular file"},
            {char_device, "a character device", "not a regular file"},
            {a_folder, "a folder", "folder"}};
        for (const auto& [reader, reader_name] : readers)
            for (const auto& [fault, fault_name, error] : faults)
                QTest::addRow("%s, %s", reader_name, fault_name) << int(reader) << int(fault) << error;
    }
    void readers() {
        QFETCH(int, reader);
        QFETCH(int, fault);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString folder = dir.filePath("S");
        const QString path = folder + "/draws.txt";
        QVERIFY(QDir().mkpath(folder));
        const QByteArray bytes = content(Reader(reader));
        switch (Fault(fault)) {
        case none:
        case error_partway:
        case ends_short:
            write_file(path, bytes);
            break;
        case fifo:
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            break;
        case char_device:
            QVERIFY(QFile::link("/dev/zero", path));
            break;
        case a_folder:
            QVERIFY(QDir().mkpath(path));
            break;
        }
        std::optional<ReadsCutShort> cut;
        if (fault == error_partway || fault == ends_short)
            cut.emplace(0.4, fault == error_partway);
        const Outcome o = run(Reader(reader), folder, path);
        if (error.isEmpty()) {
            QVERIFY2(o.read, qPrintable(o.error));
            QCOMPARE(o.rows, qsizetype(line_count));
        } else {
            QVERIFY(!o.read);
            QVERIFY2(o.error.contains(error), qPrintable(o.error));
            QVERIFY2(!o.error.contains("a save would"), qPrintable(o.error));
            if (reader == import_source)
                QVERIFY2(o.error.contains(path), qPrintable(o.error));
        }
        if (fault != fifo && fault != char_device && fault != a_folder)
            QCOMPARE(read_all(path), bytes);
    }

    // A device that gives its bytes in small pieces is read to its end, and one that says
    // nothing of its size is read until it ends.
    void device_read_in_pieces() {
        QByteArray bytes(100000, 'x');
        CutReadDevice whole(bytes, bytes.size(), false);
        QString error;
        QCOMPARE(read_whole_device(whole, bytes.size(), &error).value_or(QByteArray()), bytes);
        CutReadDevice unknown(bytes, bytes.size(), false);
        QCOMPARE(read_whole_device(unknown, -1, &error).value_or(QByteArray()), bytes);
        CutReadDevice too_big(bytes, bytes.size(), false);
        QVERIFY(!read_whole_device(too_big, max_read_size + 1, &error));
        QVERIFY2(error.contains(max_read_size_text), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestReaderFaults)
#include "test_reader_faults.moc"
