#pragma once

#include "core/base/text_table.h"
#include "core/systems/guar_results.h"
#include "core/systems/system_catalogue.h"

#include <QObject>
#include <QString>
#include <cstdint>

// The system chosen in the Systems window: its name, its base tickets, its guaranteed results and
// its tickets expanded on the current set (the table the window shows and saves).
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
        get_guar_results(system, guar_avg, guar_min, guar_max);
        emit changed();
    }
    void read_tickets(const QString& system) {
        get_system_tickets(system, ticket_count, tickets);
        emit changed();
    }

    TextTable& expanded() { return expanded_; }
    const TextTable& expanded() const { return expanded_; }

  signals:
    void changed();

  private:
    TextTable expanded_;
};
