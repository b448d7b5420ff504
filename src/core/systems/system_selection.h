#pragma once

#include "core/base/text_table.h"
#include "core/systems/guar_results.h"
#include "core/systems/played_system.h"
#include "core/systems/system_catalogue.h"

#include <QObject>
#include <QString>
#include <cstdint>

// The system chosen in the Systems window: its name, its base tickets, its guaranteed results and
// its tickets expanded on the current set (the table the window shows and saves). A designed
// system has no base tickets: its name is "NAME (designed)" and its tickets are in played.
class SystemSelection : public QObject {
    Q_OBJECT
  public:
    explicit SystemSelection(QObject* parent = nullptr) : QObject(parent) {}

    QString name;
    int16_t ticket_count = 0;
    SystemTickets tickets;
    GuarAvg guar_avg;
    GuarMinMax guar_min;
    GuarMinMax guar_max;

    void set_name(const QString& system) {
        name = system;
        emit changed();
    }
    // The guaranteed results and the base tickets of a system of the catalogue.
    void read_results(const QString& system) {
        played = {};
        get_guar_results(system, guar_avg, guar_min, guar_max);
        emit changed();
    }
    void read_tickets(const QString& system) {
        get_system_tickets(system, ticket_count, tickets);
        emit changed();
    }

    // Every ticket of the system picked; for a catalogue system empty until it is needed.
    PlayedSystem played;

    // A system by all its tickets (a designed one): its guaranteed results come from them.
    void read_played(PlayedSystem system) {
        const GuarTables g = played_guar_tables(system);
        for (int i = 2; i <= 6; ++i)
            for (int j = 2; j <= 6; ++j) {
                guar_avg(i, j) = g.avg(i, j);
                guar_min(i, j) = g.min(i, j);
                guar_max(i, j) = g.max(i, j);
            }
        played = std::move(system);
        emit changed();
    }
    // How many tickets the system plays on a set of set_size numbers.
    int played_ticket_count(int16_t set_size) const {
        return played.designed ? played.ticket_count() : ticket_count * set_size;
    }

    TextTable& expanded() { return expanded_; }
    const TextTable& expanded() const { return expanded_; }

  signals:
    void changed();

  private:
    TextTable expanded_;
};
