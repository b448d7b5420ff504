#pragma once

#include "core/base/document.h"
#include "core/base/text_table.h"
#include "core/systems/guar_results.h"
#include "core/systems/played_system.h"
#include "core/systems/system_catalogue.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// The system chosen in the Systems window: its name, its base tickets, its guaranteed results and
// its tickets expanded on the current set (the table the window shows), and the current-system
// file in the data folder that holds those tickets for the analyses. A system of the catalogue
// has base tickets that rotate over the set; a designed system has none: its name is
// "NAME (designed)" and all its tickets are in played(). Expanded tickets not yet written to the
// file make the selection modified.
class SystemSelection : public Document {
    Q_OBJECT
  public:
    explicit SystemSelection(QObject* parent = nullptr);

    const QString& name() const { return name_; }
    void set_name(const QString& system);

    // The base tickets of a catalogue system (none for a designed one).
    int16_t ticket_count() const { return ticket_count_; }
    const SystemTickets& tickets() const { return tickets_; }
    const GuarAvg& guar_avg() const { return guar_avg_; }
    const GuarMinMax& guar_min() const { return guar_min_; }
    const GuarMinMax& guar_max() const { return guar_max_; }
    // Every ticket of the system picked; for a catalogue system empty until it is needed.
    const PlayedSystem& played() const { return played_; }

    // The guaranteed results and the base tickets of a system of the catalogue.
    void read_results(const QString& system);
    void read_tickets(const QString& system);
    // A system by all its tickets (a designed one): its guaranteed results come from them.
    void read_played(PlayedSystem system);
    // How many tickets the system plays on a set of set_size numbers.
    int played_ticket_count(int16_t set_size) const {
        return played_.designed ? played_.ticket_count() : ticket_count_ * set_size;
    }

    // The tickets expanded on the set: a header row, then "N<row>" and its numbers per row.
    TextTable& expanded() { return expanded_; }
    const TextTable& expanded() const { return expanded_; }

    // What reading or writing the current-system file came to; message is what the windows show
    // when it failed, empty when it did not.
    struct FileResult {
        QString path;
        QStringList lines; // the tickets' lines, when read
        QString message;
        bool ok() const { return message.isEmpty(); }
    };
    // Writes the expanded tickets to the current-system file in app_dir; they are then saved.
    FileResult save_file(const QString& app_dir);
    // Reads the current-system file in app_dir, as last written by anyone.
    FileResult open_file(const QString& app_dir) const;

  signals:
    // The system, its results or its tickets changed, or its file was written.
    void changed();

  private:
    QString name_;
    int16_t ticket_count_ = 0;
    SystemTickets tickets_;
    GuarAvg guar_avg_;
    GuarMinMax guar_min_;
    GuarMinMax guar_max_;
    PlayedSystem played_;
    TextTable expanded_;
};
