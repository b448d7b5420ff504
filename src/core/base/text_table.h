#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <vector>

// A table of text cells addressed by row and column, with fixed header rows and columns (the
// titles of the columns, say). Documents keep their data in one; item models in the window layer
// show it and keep what only a view needs (widths, bold, the current cell).
//
// Each row is packed: a count of cells, the end of each cell, then the cells' texts, so that
// reading a cell is two lookups. Rows live back to back in large blocks of the table's own, so a
// million rows cost no allocation each; a changed row is packed anew and its old place counted as
// waste, and the blocks are packed again when waste outweighs the rows.
//
// Every change is signalled, a pair around each change that moves rows, so that a model can tell
// its views before and after.
class TextTable : public QObject {
    Q_OBJECT
    struct Row {
        const char16_t* cells = nullptr;                       // packed; null for a row of empty cells
        double key = std::numeric_limits<double>::quiet_NaN(); // the derived cell's number
    };

  public:
    explicit TextTable(QObject* parent = nullptr);

    int rows() const { return static_cast<int>(rows_.size()); }
    int cols() const { return cols_; }
    void set_rows(int n);
    void set_cols(int n);
    int fixed_rows() const { return fixed_rows_; }
    int fixed_cols() const { return fixed_cols_; }
    void set_fixed_rows(int n);
    void set_fixed_cols(int n);

    QString text(int row, int col) const { return text_view(row, col).toString(); }
    // The cell without a copy; valid until the table changes.
    QStringView text_view(int row, int col) const;
    void set_text(int row, int col, QStringView text);
    void set_text(int row, int col, const QString& text) { set_text(row, col, QStringView(text)); }
    // Empties every cell, keeping the dimensions.
    void clear();

    // A row's cells packed as the table keeps them: cells beyond cols() are dropped when appended.
    static QString pack(std::span<const QStringView> cells);
    static QString pack(const QStringList& cells);
    // Takes every row, the dimensions and the fixed rows and columns of other, in one reset; other
    // is left empty. A table built aside (read and sorted) is shown in one step this way.
    void take(TextTable& other);
    // Appends rows at the end in one step.
    void append_rows(const std::vector<QStringList>& rows);
    // Appends rows made by pack().
    void append_packed_rows(std::vector<QString>&& packed);

    // Appends many rows in one step, each packed straight into the table: the fast path for
    // loading. Views see the rows when finish() is called (or the appender goes).
    class Appender {
      public:
        explicit Appender(TextTable& table) : table_(table) {}
        ~Appender() { finish(); }
        Appender(const Appender&) = delete;
        Appender& operator=(const Appender&) = delete;
        // key: the number the derived column holds, when the caller knows it.
        void add(std::span<const QStringView> cells, double key = std::numeric_limits<double>::quiet_NaN());
        void reserve(size_t n) { rows_.reserve(n); }
        void finish();

      private:
        TextTable& table_;
        std::vector<Row> rows_;
    };
    void remove_row(int row);
    // Writes texts into column col of rows first_row.. in one step (one change signal); a cell
    // that already holds its text is left alone.
    void set_column(int col, int first_row, const std::vector<QString>& texts);

    // Marks derived as holding a value computed from source (a date's day serial, say): a change
    // of a source cell empties the derived cell of its row, so a stale value is never read.
    void set_derived_col(int source, int derived) { derived_from_ = source, derived_ = derived; }
    int derived_col() const { return derived_; }

    // The number the derived column of row holds (from the row's last pack, kept until that cell
    // changes); nullopt when it holds none.
    std::optional<double> derived_key(int row) const;

    // Stable ascending sort of rows first_row.. by keys[row - first_row]. Rows already in order
    // are not touched and nothing is signalled. True when rows moved.
    bool sort_rows_by_keys(int first_row, const std::vector<double>& keys);
    // The number a sort reads from a cell; nullopt for text that is not a number.
    static std::optional<double> number_of(QStringView cell);

  signals:
    // Around a change of dimensions, of the fixed rows or columns, a clear or a removed row.
    void reset_begins();
    void reset_ends();
    // Inside a reset, what it was, for models that keep something per row or column.
    void rows_resized(int rows);
    void cols_resized(int cols);
    void cleared();
    void fixed_changed();
    void row_removed(int row);
    // Rows first..last appended.
    void rows_inserting(int first, int last);
    void rows_inserted(int first, int last);
    void cells_changed(int first_row, int last_row, int first_col, int last_col);
    // Rows first_row.. put in order: the row now at first_row + i came from first_row + order[i].
    void reorder_begins();
    void reordered(int first_row, const std::vector<int>& order);

  private:
    static qsizetype packed_size(std::span<const QStringView> cells, size_t& n, bool& wide);
    static void write_packed(char16_t* out, std::span<const QStringView> cells, size_t n, bool wide);
    static qsizetype length_of(const char16_t* packed);
    const char16_t* store(std::span<const QStringView> cells);
    void forget(const Row& row);
    void compact();

    bool in_range(int row, int col) const { return row >= 0 && row < rows() && col >= 0 && col < cols_; }
    static QStringView cell(const char16_t* packed, int col);
    static int cell_count(const char16_t* packed);
    bool replace(int row, int col, QStringView text); // false when the cell held it already

    std::vector<Row> rows_;
    std::vector<std::unique_ptr<char16_t[]>> blocks_;
    char16_t* free_ = nullptr; // where the last block's free part begins
    qsizetype block_left_ = 0; // characters free at the end of the last block
    qsizetype stored_ = 0;     // characters of the rows in use
    qsizetype wasted_ = 0;     // characters of rows packed anew or removed
    int cols_ = 0;
    int fixed_rows_ = 0;
    int fixed_cols_ = 0;
    int derived_from_ = -1;
    int derived_ = -1;
};
