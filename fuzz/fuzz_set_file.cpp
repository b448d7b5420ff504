// A targeted set file: any bytes as the file, loaded into the grid and saved as the Targeted Sets
// window does.
#include "core/base/text_table.h"
#include "core/tsets/tset_files.h"
#include "fuzz_support.h"

#include <QDir>
#include <QFile>
#include <unistd.h>

namespace {

QString scratch(const char* name) {
    return QDir::tempPath() + QStringLiteral("/zandrel_fuzz_%1_%2").arg(getpid()).arg(QLatin1String(name));
}

// The two scratch files go when the run ends.
struct Scratch {
    ~Scratch() {
        QFile::remove(scratch("set"));
        QFile::remove(scratch("saved"));
    }
};
const Scratch scratch_files;

QByteArray read_all(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    QLocale::setDefault(fuzz_locale(in.byte()));
    const auto set_size =
        static_cast<int16_t>(tset_min_size + in.byte() % (tset_max_size - tset_min_size + 1));
    const QString path = scratch("set"), saved_path = scratch("saved");
    {
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly));
        const QByteArray bytes = in.rest_bytes();
        FUZZ_CHECK(f.write(bytes) == bytes.size());
    }
    const auto set = read_tset_file(path, QStringLiteral("fuzz"), set_size);
    FUZZ_CHECK(set.has_value());
    FUZZ_CHECK(set->current_row == static_cast<int>(set->rows.size()));
    for (const TsetRow& row : set->rows) {
        FUZZ_CHECK(!row.date.isEmpty());
        FUZZ_CHECK(row.numbers.size() == set_size);
    }
    TextTable grid;
    show_tset(grid, *set);
    FUZZ_CHECK(grid.rows() == static_cast<int>(set->rows.size()) + 1);
    FUZZ_CHECK(tset_file_lines(grid, set_size).size() == static_cast<qsizetype>(set->rows.size()));

    // Save, load the saved file, save again: the same rows and the same bytes.
    QFile::remove(saved_path);
    if (save_tset(saved_path, set_size, grid) == SaveResult::saved) {
        const QByteArray saved = read_all(saved_path);
        const auto again = read_tset_file(saved_path, QStringLiteral("fuzz"), set_size);
        FUZZ_CHECK(again.has_value() && again->rows.size() == set->rows.size());
        TextTable grid2;
        show_tset(grid2, *again);
        FUZZ_CHECK(tset_file_lines(grid2, set_size) == tset_file_lines(grid, set_size));
        FUZZ_CHECK(save_tset(saved_path, set_size, grid2) == SaveResult::saved);
        FUZZ_CHECK(read_all(saved_path) == saved);
    }
    return 0;
}
