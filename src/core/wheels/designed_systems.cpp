#include "core/wheels/designed_systems.h"

#include "core/wheels/designed_wheels.h"

namespace {

const QLatin1String designed_mark(" (designed)");

} // namespace

QString designed_choice(const QString& name) {
    return name + designed_mark;
}

QString designed_name_of_choice(const QString& choice) {
    return choice.endsWith(designed_mark) ? choice.chopped(designed_mark.size()) : QString();
}

QStringList system_choices(const QString& data_dir) {
    QStringList choices;
    for (const SystemInfo& info : system_catalogue())
        choices << QString::fromLatin1(info.name.data(), static_cast<qsizetype>(info.name.size()));
    for (const QString& name : list_designed_wheels(data_dir))
        choices << designed_choice(name);
    return choices;
}

PlayedSystem designed_system(const QString& name, int v, int k, std::span<const Ticket> tickets) {
    PlayedSystem system{name, true, static_cast<int16_t>(v), static_cast<int16_t>(k), {}};
    system.tickets.reserve(tickets.size());
    for (const Ticket t : tickets) {
        TicketPositions positions{};
        int j = 0;
        for (const int n : ticket_numbers(t))
            if (j < max_ticket_size)
                positions[j++] = static_cast<int16_t>(n);
        system.tickets.push_back(positions);
    }
    return system;
}

SystemLookup find_played_system(const QString& choice, const QString& data_dir) {
    SystemLookup lookup;
    const QString text = choice.trimmed();
    if (auto catalogue = catalogue_system(text)) {
        lookup.system = std::move(catalogue);
        return lookup;
    }
    QString name = designed_name_of_choice(text);
    if (name.isEmpty())
        name = text;
    if (!designed_name_fault(name).isEmpty() || !list_designed_wheels(data_dir).contains(name)) {
        lookup.error = QStringLiteral("there is no system %1").arg(text);
        return lookup;
    }
    const WheelRead read = load_designed_wheel(data_dir, name);
    if (!read.wheel) {
        lookup.error = read.error;
        return lookup;
    }
    lookup.system = designed_system(name, read.wheel->v, read.wheel->k, read.wheel->tickets);
    return lookup;
}
