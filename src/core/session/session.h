#pragma once

#include "core/lotto/lotto_document.h"
#include "core/systems/system_selection.h"
#include "core/tsets/tset_document.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QTime>
#include <array>
#include <functional>

// Everything the user works on while the program runs: the data folder, the lotto, the targeted
// set and the system chosen, and the forecasting factors last worked out. The windows are views
// and editors of these documents and read one another's data only here; the command line uses the
// same documents without any window. The application owns one; tests make their own.
class Session : public QObject {
    Q_OBJECT
  public:
    explicit Session(QObject* parent = nullptr) : QObject(parent) {}

    QString app_dir;   // the data folder (Lto/, Tsets/, system); every data path starts here
    QString share_dir; // the help pages and sample sources; app_dir when empty, as beside the program
    const QString& resource_dir() const { return share_dir.isEmpty() ? app_dir : share_dir; }

    LottoDocument lotto;
    TsetDocument tset;
    SystemSelection system;

    // The Forecasting Abilities results as shown (prize classes and their factors; no rows while
    // that window is closed), and the expected factors by class: [k][0] for k matches, [k][1]
    // for k matches and the bonus.
    TextTable fa_table;
    std::array<std::array<float, 2>, 7> fa_results{};
    // What the results were worked out for: the lotto, the set and the period.
    QString fa_basis;

    // A designed system was saved: the lists of systems read the data folder again.
    void designed_system_saved() { emit designed_systems_changed(); }

    // Today's date; tests fix it.
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    // The seed of each random draw, from the time of day; tests fix it.
    std::function<quint32()> random_seed = [] {
        return static_cast<quint32>(QTime::currentTime().msecsSinceStartOfDay());
    };

  signals:
    void designed_systems_changed();
};
