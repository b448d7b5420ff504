#pragma once

#include "core/systems/played_system.h"
#include "core/wheels/wheel_params.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <span>

// Designed systems beside the catalogue: wherever a system is picked the catalogue's names come
// first, as they always were, and then each designed system as "NAME (designed)".

QString designed_choice(const QString& name);
// The designed system's name in a choice "NAME (designed)"; empty for any other text.
QString designed_name_of_choice(const QString& choice);

// The catalogue's names in their order, then the designed systems of the data folder.
QStringList system_choices(const QString& data_dir);

struct SystemLookup {
    std::optional<PlayedSystem> system;
    QString error; // no such system, or the designed system's file and line that do not read
};

// The system a choice names: a catalogue name, "NAME (designed)", or a designed system's bare name
// (as the command line takes it). A catalogue name always means the catalogue's system.
SystemLookup find_played_system(const QString& choice, const QString& data_dir);

// A designed system from a wheel's tickets (positions 1..v).
PlayedSystem designed_system(const QString& name, int v, int k, std::span<const Ticket> tickets);
