#pragma once

#include "core/wheels/wheel_params.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// Designed systems: wheels the designer made, kept under a name of the user's in the data folder,
// Wheels/NAME.txt, one ticket a line as its positions 1..v ascending, one blank between them.

QString designed_wheels_folder(const QString& data_dir);
QString designed_wheel_path(const QString& data_dir, const QString& name);

// Why a name cannot name a designed system ("" when it can): it is checked as a lotto's name is,
// and a name of the catalogue is refused, so that a catalogue system is never shadowed.
QString designed_name_fault(const QString& name);

// The names of the designed systems in the folder, sorted; files whose names could not have been
// saved are left out.
QStringList list_designed_wheels(const QString& data_dir);

struct DesignedWheel {
    int v = 0; // the highest position used, or the v asked for
    int k = 0;
    std::vector<Ticket> tickets; // in file order
};

struct WheelRead {
    std::optional<DesignedWheel> wheel;
    QString error; // the file and line, and what is wrong there
};

// Reads a wheel file: every line a ticket of the same 2..6 different positions in 1..v (v = 0:
// 1..64, and the wheel's v is its highest position).
WheelRead read_wheel_file(const QString& path, int v = 0);
WheelRead load_designed_wheel(const QString& data_dir, const QString& name, int v = 0);

// The lines of a wheel file: positions ascending, one blank between them.
QStringList wheel_file_lines(std::span<const Ticket> tickets);

// Saves the wheel under the name (the folder is made when missing); the previous file stays whole
// when the save fails. error says why it was not saved.
bool save_designed_wheel(const QString& data_dir, const QString& name, std::span<const Ticket> tickets,
                         QString& error);

// The wheels designed offline and shipped with the program (designed_wheels.txt, made by
// tools/design_wheels.sh): "wheel V K T M COUNT" and then COUNT ticket lines, for each.
struct ShippedWheel {
    WheelParams shape;
    std::vector<Ticket> tickets;
};
std::string_view designed_wheels_text();
// The shipped wheels in file order; error names the line where the text stops reading.
struct ShippedWheels {
    std::vector<ShippedWheel> wheels;
    QString error;
};
ShippedWheels parse_shipped_wheels(std::string_view text);
// The shipped wheel with this guarantee, if there is one.
std::optional<ShippedWheel> shipped_wheel(const WheelParams& shape);
