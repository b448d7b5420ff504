#include "core/systems/system_selection.h"

#include "core/base/messages.h"
#include "core/base/text_files.h"
#include "core/systems/system_expansion.h"

SystemSelection::SystemSelection(QObject* parent) : Document(parent) {
    track_edits(expanded_);
}

void SystemSelection::set_name(const QString& system) {
    name_ = system;
    emit changed();
}

void SystemSelection::read_results(const QString& system) {
    played_ = {};
    get_guar_results(system, guar_avg_, guar_min_, guar_max_);
    emit changed();
}

void SystemSelection::read_tickets(const QString& system) {
    get_system_tickets(system, ticket_count_, tickets_);
    emit changed();
}

void SystemSelection::read_played(PlayedSystem system) {
    const GuarTables g = played_guar_tables(system);
    for (int i = 2; i <= 6; ++i)
        for (int j = 2; j <= 6; ++j) {
            guar_avg_(i, j) = g.avg(i, j);
            guar_min_(i, j) = g.min(i, j);
            guar_max_(i, j) = g.max(i, j);
        }
    played_ = std::move(system);
    emit changed();
}

SystemSelection::FileResult SystemSelection::save_file(const QString& app_dir) {
    FileResult result;
    result.path = system_file_path(app_dir);
    result.lines = system_file_lines(expanded_);
    if (!write_text_lines(result.path, result.lines)) {
        result.message = QString::fromLatin1(msg_data_not_correct);
        return result;
    }
    set_modified(false);
    emit changed();
    return result;
}

SystemSelection::FileResult SystemSelection::open_file(const QString& app_dir) const {
    FileResult result;
    result.path = system_file_path(app_dir);
    if (std::optional<QStringList> lines = read_text_lines(result.path))
        result.lines = std::move(*lines);
    else
        result.message = QString::fromLatin1(msg_data_not_correct);
    return result;
}
