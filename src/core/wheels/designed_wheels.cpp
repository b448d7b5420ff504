#include "core/wheels/designed_wheels.h"

#include "core/base/file_names.h"
#include "core/base/text_files.h"
#include "core/systems/system_catalogue.h"

#include <QDir>
#include <QFileInfo>
#include <bit>

namespace {

const QLatin1String wheel_suffix(".txt");

} // namespace

QString designed_wheels_folder(const QString& data_dir) {
    return join_path(data_dir, QStringLiteral("Wheels"));
}

QString designed_wheel_path(const QString& data_dir, const QString& name) {
    return join_path(designed_wheels_folder(data_dir), name + wheel_suffix);
}

QString designed_name_fault(const QString& name) {
    if (name.trimmed().isEmpty())
        return QStringLiteral("a designed system needs a name");
    if (!is_safe_folder_name(name))
        return QStringLiteral("'%1' cannot be the name of a system: no '/', '\\', control characters or "
                              "leading dot")
            .arg(name);
    for (const SystemInfo& info : system_catalogue())
        if (name.compare(QLatin1String(info.name.data(), static_cast<qsizetype>(info.name.size())),
                         Qt::CaseInsensitive) == 0)
            return QStringLiteral("'%1' is a system of the catalogue; choose another name").arg(name);
    return {};
}

QStringList list_designed_wheels(const QString& data_dir) {
    QStringList names;
    const QDir dir(designed_wheels_folder(data_dir));
    const QStringList files =
        dir.entryList({QStringLiteral("*.txt")}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    for (const QString& file : files) {
        const QString name = file.chopped(wheel_suffix.size());
        if (designed_name_fault(name).isEmpty())
            names << name;
    }
    return names;
}

WheelRead read_wheel_file(const QString& path, int v) {
    WheelRead read;
    const auto lines = read_text_lines(path);
    if (!lines) {
        read.error = QStringLiteral("%1 cannot be read").arg(QDir::toNativeSeparators(path));
        return read;
    }
    const int top = v > 0 ? std::min(v, wheel_max_numbers) : wheel_max_numbers;
    DesignedWheel wheel;
    int highest = 0;
    const auto fail = [&](int line, const QString& why) {
        read.error = QStringLiteral("%1, line %2: %3").arg(QDir::toNativeSeparators(path)).arg(line).arg(why);
        return read;
    };
    for (qsizetype i = 0; i < lines->size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        const QStringList words = lines->at(i).split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty())
            return fail(line, QStringLiteral("an empty line; every line holds one ticket"));
        Ticket ticket = 0;
        for (const QString& word : words) {
            bool ok = false;
            const int n = word.toInt(&ok);
            if (!ok || n < 1 || n > top)
                return fail(line, QStringLiteral("'%1' is not a position from 1 to %2").arg(word).arg(top));
            if (ticket & (Ticket{1} << (n - 1)))
                return fail(line, QStringLiteral("%1 appears twice in the ticket").arg(n));
            ticket |= Ticket{1} << (n - 1);
            highest = std::max(highest, n);
        }
        const int k = static_cast<int>(words.size());
        if (k < 2 || k > wheel_max_pick)
            return fail(
                line,
                QStringLiteral("a ticket holds 2 to %1 numbers, this one %2").arg(wheel_max_pick).arg(k));
        if (wheel.k != 0 && k != wheel.k)
            return fail(line,
                        QStringLiteral("a ticket of %1 numbers among tickets of %2").arg(k).arg(wheel.k));
        wheel.k = k;
        wheel.tickets.push_back(ticket);
    }
    if (wheel.tickets.empty()) {
        read.error = QStringLiteral("%1 holds no ticket").arg(QDir::toNativeSeparators(path));
        return read;
    }
    wheel.v = v > 0 ? v : highest;
    read.wheel = std::move(wheel);
    return read;
}

WheelRead load_designed_wheel(const QString& data_dir, const QString& name, int v) {
    if (const QString fault = designed_name_fault(name); !fault.isEmpty())
        return {std::nullopt, fault};
    const QString path = designed_wheel_path(data_dir, name);
    if (!QFileInfo(path).isFile())
        return {
            std::nullopt,
            QStringLiteral("there is no designed system %1 (%2)").arg(name, QDir::toNativeSeparators(path))};
    return read_wheel_file(path, v);
}

QStringList wheel_file_lines(std::span<const Ticket> tickets) {
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(tickets.size()));
    for (const Ticket t : tickets)
        lines << ticket_text(t);
    return lines;
}

bool save_designed_wheel(const QString& data_dir, const QString& name, std::span<const Ticket> tickets,
                         QString& error) {
    error = designed_name_fault(name);
    if (!error.isEmpty())
        return false;
    if (tickets.empty()) {
        error = QStringLiteral("a wheel without tickets is not saved");
        return false;
    }
    const QString folder = designed_wheels_folder(data_dir);
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("cannot make the folder %1").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    const QString path = designed_wheel_path(data_dir, name);
    if (!write_text_lines(path, wheel_file_lines(tickets))) {
        error = QStringLiteral("cannot write %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

ShippedWheels parse_shipped_wheels(std::string_view text) {
    ShippedWheels parsed;
    int line_number = 0;
    int expected = 0; // ticket lines still to come for the last wheel
    const auto fail = [&](const char* why) {
        parsed.error =
            QStringLiteral("designed_wheels.txt, line %1: %2").arg(line_number).arg(QLatin1String(why));
        return parsed;
    };
    while (!text.empty()) {
        const size_t end = text.find('\n');
        QByteArray line(text.data(), static_cast<qsizetype>(std::min(end, text.size())));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++line_number;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> words = line.simplified().split(' ');
        std::vector<int> numbers;
        bool ok = true;
        for (qsizetype i = words.front() == "wheel" ? 1 : 0; i < words.size() && ok; ++i)
            numbers.push_back(words[i].toInt(&ok));
        if (!ok)
            return fail("not a number");
        if (words.front() == "wheel") {
            if (expected != 0)
                return fail("the wheel before has fewer tickets than it says");
            if (numbers.size() != 5)
                return fail("a wheel line holds V K T M COUNT");
            const WheelParams shape{numbers[0], numbers[1], numbers[2], numbers[3]};
            if (!wheel_params_fault(shape).isEmpty() || numbers[4] < 1)
                return fail("not a wheel the designer makes");
            parsed.wheels.push_back({shape, {}});
            expected = numbers[4];
            continue;
        }
        if (expected == 0)
            return fail("a ticket outside a wheel");
        const WheelParams& shape = parsed.wheels.back().shape;
        const Ticket ticket = ticket_of(numbers);
        if (static_cast<int>(numbers.size()) != shape.k || std::popcount(ticket) != shape.k ||
            (shape.v < 64 && ticket >> shape.v))
            return fail("not a ticket of the wheel");
        parsed.wheels.back().tickets.push_back(ticket);
        --expected;
    }
    if (expected != 0)
        return fail("the last wheel has fewer tickets than it says");
    return parsed;
}

std::optional<ShippedWheel> shipped_wheel(const WheelParams& shape) {
    static const ShippedWheels shipped = parse_shipped_wheels(designed_wheels_text());
    for (const ShippedWheel& wheel : shipped.wheels)
        if (wheel.shape == shape)
            return wheel;
    return std::nullopt;
}
