#pragma once

#include "core/base/text_table.h"

#include <QObject>

// What every document shares: whether it holds changes that its files do not, and a signal when
// that turns. Loading and saving clear it; an edit of a tracked table sets it.
class Document : public QObject {
    Q_OBJECT
  public:
    explicit Document(QObject* parent = nullptr) : QObject(parent) {}

    bool modified() const { return modified_; }
    void set_modified(bool on) {
        if (on == modified_)
            return;
        modified_ = on;
        emit modified_changed(on);
    }

  signals:
    void modified_changed(bool modified);

  protected:
    // Every edit of table's cells or rows marks the document modified; a whole new content (a
    // load, a release) does not. A column derived from another (a sort key) is no edit of its own.
    void track_edits(const TextTable& table, int derived_col = -1) {
        connect(&table, &TextTable::cells_changed, this, [this, derived_col](int, int, int first, int last) {
            if (first != derived_col || last != derived_col)
                set_modified(true);
        });
        connect(&table, &TextTable::rows_inserted, this, [this] { set_modified(true); });
        connect(&table, &TextTable::row_removed, this, [this] { set_modified(true); });
    }

  private:
    bool modified_ = false;
};
