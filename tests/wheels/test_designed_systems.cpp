// Designed systems beside the catalogue: the choices offered, the system a choice names, and the
// guaranteed results walked from any list of tickets.
#include "core/systems/system_catalogue.h"
#include "core/wheels/designed_systems.h"
#include "core/wheels/designed_wheels.h"
#include "support/test_files.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const std::vector<Ticket> fano{0b0001011, 0b0010110, 0b0101100, 0b1011000, 0b0110001, 0b1100010, 0b1000101};

QString catalogue_name(size_t i) {
    const std::string_view name = system_catalogue()[i].name;
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

class TestDesignedSystems : public QObject {
    Q_OBJECT
  private slots:
    // The catalogue's 41 names keep their places; the designed ones follow, marked.
    void choices_follow_the_catalogue() {
        QTemporaryDir dir;
        QCOMPARE(system_choices(dir.path()).size(), 41);
        QString error;
        QVERIFY(save_designed_wheel(dir.path(), QStringLiteral("Fano"), fano, error));
        QVERIFY(save_designed_wheel(dir.path(), QStringLiteral("alpha"), fano, error));
        const QStringList choices = system_choices(dir.path());
        QCOMPARE(choices.size(), 43);
        for (size_t i = 0; i < system_catalogue().size(); ++i)
            QCOMPARE(choices[static_cast<qsizetype>(i)], catalogue_name(i));
        QCOMPARE(choices.mid(41), (QStringList{"alpha (designed)", "Fano (designed)"}));
        QCOMPARE(designed_name_of_choice(QStringLiteral("Fano (designed)")), QStringLiteral("Fano"));
        QVERIFY(designed_name_of_choice(QStringLiteral("10_3_6")).isEmpty());
    }

    void lookup_data() {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<bool>("designed");
        QTest::addColumn<int>("v");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("tickets");
        QTest::addColumn<QString>("error");
        QTest::newRow("catalogue") << "10_3_6" << false << 10 << 6 << 10 << "";
        QTest::newRow("largest catalogue") << "19_4_5" << false << 19 << 5 << 969 << "";
        QTest::newRow("designed, marked") << "Fano (designed)" << true << 7 << 3 << 7 << "";
        QTest::newRow("designed, bare name") << "Fano" << true << 7 << 3 << 7 << "";
        QTest::newRow("unknown") << "Nope" << false << 0 << 0 << 0 << "there is no system Nope";
        QTest::newRow("unknown, marked")
            << "Nope (designed)" << false << 0 << 0 << 0 << "there is no system Nope (designed)";
        QTest::newRow("file that does not read")
            << "Bad (designed)" << false << 0 << 0 << 0 << "Bad.txt, line 2";
    }
    void lookup() {
        QFETCH(QString, choice);
        QFETCH(bool, designed);
        QFETCH(int, v);
        QFETCH(int, m);
        QFETCH(int, tickets);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QString fault;
        QVERIFY(save_designed_wheel(dir.path(), QStringLiteral("Fano"), fano, fault));
        write_file(dir.path() + QStringLiteral("/Wheels/Bad.txt"), "1 2 3\r\n1 2 x\r\n");
        const SystemLookup found = find_played_system(choice, dir.path());
        QVERIFY2(found.error.contains(error), qPrintable(found.error));
        QCOMPARE(found.system.has_value(), error.isEmpty());
        if (!found.system)
            return;
        QCOMPARE(found.system->designed, designed);
        QCOMPARE(int(found.system->v), v);
        QCOMPARE(int(found.system->m), m);
        QCOMPARE(found.system->ticket_count(), tickets);
        if (designed) {
            QCOMPARE(found.system->name, QStringLiteral("Fano"));
            const TicketPositions& last = found.system->tickets.back();
            QCOMPARE((std::array<int, 3>{last[0], last[1], last[2]}), (std::array<int, 3>{1, 3, 7}));
        }
    }

    // The walk over every placement must agree with the catalogue's walk over rotation classes.
    void any_tickets_walk_agrees_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"10_3_6", "11_4_5", "12_3_6", "14_3_5"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void any_tickets_walk_agrees() {
        QFETCH(QString, name);
        auto system = catalogue_system(name);
        QVERIFY(system);
        GuarAvg avg;
        GuarMinMax min, max;
        get_guar_results(name, avg, min, max);
        system->designed = true; // no rotations to lean on
        const GuarTables g = played_guar_tables(*system);
        for (int i = 2; i <= 6; ++i)
            for (int j = 2; j <= 6; ++j) {
                QCOMPARE(g.min(i, j), min(i, j));
                QCOMPARE(g.max(i, j), max(i, j));
                QCOMPARE(g.avg(i, j), avg(i, j));
            }
    }

    // The Fano plane by hand: every pair on one line; a triple is a line (one ticket with 3) or
    // meets three lines in a pair each.
    void fano_results() {
        const GuarTables g = played_guar_tables(designed_system(QStringLiteral("Fano"), 7, 3, fano));
        QCOMPARE(g.min(2, 2), int16_t(1));
        QCOMPARE(g.max(2, 2), int16_t(1));
        QCOMPARE(g.min(3, 3), int16_t(0));
        QCOMPARE(g.min(3, 2), int16_t(3));
        QCOMPARE(g.max(3, 3), int16_t(1));
        QCOMPARE(g.max(3, 2), int16_t(0));
        QCOMPARE(g.min(4, 2), int16_t(0)); // no row beyond the ticket size
    }
};

QTEST_APPLESS_MAIN(TestDesignedSystems)
#include "test_designed_systems.moc"
