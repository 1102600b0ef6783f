#include "chronology/tables.h"
#include "support/testsupport.h"

#include <QtTest>

#include <limits>
#include <optional>
#include <span>
#include <vector>

using namespace vorn::chronology;

namespace {

constexpr int kMin = std::numeric_limits<Year>::min();
constexpr int kMax = std::numeric_limits<Year>::max();

// A span of years over which a lookup gives one answer; an empty text is not written. The
// spans of a lookup follow each other without gaps from the first year to the last, so their
// ends are every boundary of the table, overlaps resolved.
struct Span {
    int first;
    int last;
    const char* name;
    const char* period = "";
    const char* caption = "";
    int points = 0;
    const char* commentary = "";
};

// A span of the commentary lookup: how its text begins and ends, its length and the lengths
// of its runs of spaces. A span without text writes no commentary.
struct CommentarySpan {
    int first;
    int last;
    const char* opening = nullptr;
    const char* ending = nullptr;
    int length = 0;
    std::vector<int> runs = {};
};

constexpr Span kIsraelSpans[] = {
    {kMin, -1096, "Hors période"},
    {-1095, -1052, "Non mentionné"},
    {-1051, -1012, "Saül", "-1051 à -1011"},
    {-1011, -972, "David", "-1011 à -971"},
    {-971, -932, "Salomon", "-971 à -931"},
    {-931, -911, "Jéroboam", "-931 à -910"},
    {-910, -910, "Nadab", "-910 à -909"},
    {-909, -887, "Baéscha", "-909 à -886"},
    {-886, -886, "Ela", "-886 à -885"},
    {-885, -885, "Zimri puis Omri", "-885 (Zimri: 7 jrs)"},
    {-884, -875, "Omri", "-885 à -874"},
    {-874, -854, "Non mentionné"},
    {-853, -853, "Achazia", "-853 à -852"},
    {-852, -842, "Joram", "-852 à -841"},
    {-841, -815, "Jéhu", "-841 à -814"},
    {-814, -800, "Joachaz", "-814 à -799"},
    {-799, -783, "Joas", "-799 à -782"},
    {-782, -754, "Jéroboam II", "-782 à -753"},
    {-753, -753, "Non mentionné"},
    {-752, -752, "Zacharie", "-752 (6 mois)"},
    {-751, -751, "Schallum, Menahem", "-751 (Sch. 1 mois)"},
    {-750, -742, "Menahem", "-751 à -741"},
    {-741, -741, "Pékachia", "-742 à -740"},
    {-740, -732, "Peqach", "-740 à -731"},
    {-731, -723, "Osée", "-731 à -722"},
    {-722, -5, "Non mentionné"},
    {-4, 38, "Hérode Antipas", "-4 à 39", "Galilée Pérée", 14},
    {39, 44, "Hérode Agrippa 1er", "39 à 44", "Roi du Pays", 14},
    {45, 49, "Non mentionné"},
    {50, 53, "Hérode Agrippa II", "50 à 53", "Galilée Pérée", 14},
    {54, 70, "Non mentionné"},
    {71, kMax, "Hors période"},
};

constexpr Span kJudaSpans[] = {
    {kMin, -1096, "Hors période"},
    {-1095, -932, "Israël englobe Juda"},
    {-931, -914, "Roboam", "-931 à -913"},
    {-913, -912, "Abijam", "-913 à -911"},
    {-911, -871, "Asa", "-911 à -870"},
    {-870, -850, "Josaphat", "-870 à -849"},
    {-849, -843, "Joram", "-849 à -842"},
    {-842, -842, "Achazia", "-842 à -841"},
    {-841, -836, "Athalie", "-841 à -835"},
    {-835, -797, "Joas", "-836 à -796"},
    {-796, -769, "Amatsia", "-797 à -768"},
    {-768, -741, "Osias", "-768 à -740"},
    {-740, -725, "Jotam", "-740 à -724"},
    {-724, -716, "Achaz", "-724 à -715"},
    {-715, -688, "Ezechias", "-715 à -687"},
    {-687, -643, "Manassé", "-687 à -642"},
    {-642, -641, "Amon", "-642 à -640"},
    {-640, -610, "Josias", "-640 à -609"},
    {-609, -609, "Joachaz puis Jojakim", "-609 (3 mois)"},
    {-608, -599, "Jojakim", "-609 à -598"},
    {-598, -598, "Jojakin", "-598 à -597 (3 mois)"},
    {-597, -588, "Sédécias", "-597 à -587"},
    {-587, -563, "Déportation", "-587"},
    {-562, -561, "Evil-Merodac", "-562 à -560"},
    {-560, -557, "Neriglisser", "-560 à -556"},
    {-556, -539, "Nabonidus et Belchatsar", "-556 à -539"},
    {-538, -5, "Non mentionné"},
    {-4, 6, "Archélaus", "-4 à 6", "Ethnarque de Juda", 12},
    {7, 25, "Non mentionné"},
    {26, 36, "Ponce Pilate", "26 à 36", "Procurateur de Juda", 11},
    {37, 38, "Non mentionné"},
    {39, 44, "Hérode Agrippa 1er", "39 à 44", "Roi du Pays", 14},
    {45, 51, "Non mentionné"},
    {52, 58, "Félix", "52 à 58", "Procurateur de Juda", 11},
    {59, 61, "Festus", "58 à 61", "Procurateur de Juda", 11},
    {62, 70, "Non mentionné"},
    {71, kMax, "Hors période"},
};

constexpr Span kPatriarchesSpans[] = {
    {kMin, -1922, "Aucun"},
    {-1921, -1841, "Abraham", "-1921 à -1840"},
    {-1840, -1736, "Isaac", "-1840 à -1735"},
    {-1735, -1690, "Jacob (Israël)", "-1735 à -1689"},
    {-1689, -1492, "Non mentionné", "-1689 à -1491"},
    {-1491, -1452, "Moïse", "-1491 à -1451"},
    {-1451, kMax, "Aucun"},
};

constexpr Span kJugesSpans[] = {
    {kMin, -1395, "Hors période"},
    {-1394, -1355, "Otniel", "-1394 à -1354"},
    {-1354, -1250, " voir commentaires", "", "", 0,
     "Ehoud, Chamgar, Débora ont sucessivement été Juges entre -1354 et -1249"},
    {-1249, -1210, "Gédéon", "-1249 à -1209"},
    {-1209, -1158, " voir commentaires", "", "", 0,
     "Abimélec, Tola, Yaïr, Jephté, Ibtsân, Elôn, Abdôn, Samson ont successivement été Juges en "
     "Israël entre -1209 et -1157"},
    {-1157, -1118, "Eli", "-1157 à -1117"},
    {-1117, -1096, "Samuel", "-1117 à -1095"},
    {-1095, kMax, "Hors période"},
};

const CommentarySpan kCommentarySpans[] = {
    {kMin, -4005},
    {-4004, -2349, "La chute: ", "(-4004 à - 2348)", 160, {2}},
    {-2348, -2235, "Dieu limite ", "(-2348 à -2234)", 286},
    {-2234, -2101, "Dispersion ", "en -2234", 37},
    {-2100, -1951},
    {-1950, -1707, "Appel d'Abraham", "Egypte (-1706)", 230, {42, 46, 11}},
    {-1706, -1492, "Mort de Joseph", "L'Exode (-1491)", 145, {43, 39}},
    {-1491, -1445, "Exode (-1491)", "(-1451 à -1444)", 211, {49, 17, 17}},
    {-1444, -1056},
    {-1055, -1016, "Le royaume d'Israël", "Empire assyrien (-1100 à -625)", 212, {66}},
    {-1015, -976, "Dédicace du Temple", "Empire assyrien (-1100 à -625)", 92, {36}},
    {-975, -626, "Empire assyrien", "postérieur (-740)", 215, {32, 25, 37}},
    {-625, -537, "Empire babilonien", "(-625 à -536)", 43},
    {-536, -331, "Empire perse", "(-536 à -330)", 26},
    {-330, -167, "Empire grec", "Grand (-330 à -166)", 392, {21, 21, 22, 27, 23, 11}},
    {-166, -64, "Période macchabéenne", "Temple (-165)", 92, {38}},
    {-63, 36, "Période hérodienne", "Rome (14 à 37)", 108, {47}},
    {37, 53},
    {54, 89, "Néron est ", "par Tite (70)", 90, {18}},
    {90, kMax},
};

struct Lookup {
    const char* name;
    Writes (*lookup)(Year);
    Output nameBox;
    Output periodBox;
    std::optional<RowLabel> label;
    std::span<const Span> spans;
};

const Lookup kLookups[] = {
    {"israel", israel, Output::IsraelName, Output::IsraelPeriod, RowLabel::Israel, kIsraelSpans},
    {"juda", juda, Output::JudahName, Output::JudahPeriod, RowLabel::Judah, kJudaSpans},
    {"patriarches", patriarches, Output::PatriarchName, Output::PatriarchPeriod, std::nullopt,
     kPatriarchesSpans},
    {"juges", juges, Output::JudgeName, Output::JudgePeriod, std::nullopt, kJugesSpans},
};

const QString kNotWritten = QStringLiteral("<not written>");

QString shown(const std::optional<QString>& text) {
    return text ? *text : kNotWritten;
}

QString expected(const char* text) {
    return *text ? QString::fromUtf8(text) : kNotWritten;
}

// The years a span is tested at: its first and its last.
std::vector<int> ends(int first, int last) {
    return first == last ? std::vector<int>{first} : std::vector<int>{first, last};
}

// The lengths of the runs of two or more spaces in `text`, in order.
QList<int> runsOf(const QString& text) {
    QList<int> runs;
    static const QRegularExpression run(QStringLiteral(" {2,}"));
    for (auto it = run.globalMatch(text); it.hasNext();)
        runs.append(static_cast<int>(it.next().capturedLength()));
    return runs;
}

} // namespace

class TestTables : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { vorn::test::failOnQtWarnings(); }
    // The expectations below must reach every year, or a boundary would go untested.
    void spansCoverEveryYear() {
        for (const Lookup& lookup : kLookups) {
            int next = kMin;
            for (const Span& span : lookup.spans) {
                QCOMPARE(span.first, next);
                QVERIFY(span.last >= span.first);
                next = span.last + 1;
            }
            QCOMPARE(next, kMax + 1);
        }
        int next = kMin;
        for (const CommentarySpan& span : kCommentarySpans) {
            QCOMPARE(span.first, next);
            next = span.last + 1;
        }
        QCOMPARE(next, kMax + 1);
    }

    void lookups_data() {
        QTest::addColumn<int>("lookup");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("period");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("points");
        QTest::addColumn<QString>("commentary");
        for (int i = 0; i < static_cast<int>(std::size(kLookups)); ++i) {
            for (const Span& span : kLookups[i].spans) {
                for (int year : ends(span.first, span.last)) {
                    QTest::addRow("%s %d", kLookups[i].name, year)
                        << i << year << expected(span.name) << expected(span.period)
                        << QString::fromUtf8(span.caption) << span.points
                        << expected(span.commentary);
                }
            }
        }
    }
    void lookups() {
        QFETCH(int, lookup);
        QFETCH(int, year);
        QFETCH(QString, name);
        QFETCH(QString, period);
        QFETCH(QString, caption);
        QFETCH(int, points);
        QFETCH(QString, commentary);
        const Lookup& table = kLookups[lookup];
        const Writes writes = table.lookup(static_cast<Year>(year));
        QCOMPARE(shown(writes.text(table.nameBox)), name);
        QCOMPARE(shown(writes.text(table.periodBox)), period);
        QCOMPARE(shown(writes.text(Output::Commentary)), commentary);
        int count = 1 + (period != kNotWritten) + (commentary != kNotWritten);
        if (!caption.isEmpty()) {
            QVERIFY(table.label.has_value());
            const auto& change = writes.label(*table.label);
            QVERIFY(change.has_value());
            QCOMPARE(change->caption, caption);
            QCOMPARE(change->points, points);
            ++count;
        }
        // Nothing else is written: no other box, no row label.
        QCOMPARE(writes.count(), count);
    }

    void commentaires_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("opening");
        QTest::addColumn<QString>("ending");
        QTest::addColumn<int>("length");
        QTest::addColumn<QList<int>>("runs");
        for (const CommentarySpan& span : kCommentarySpans) {
            const QList<int> runs(span.runs.begin(), span.runs.end());
            for (int year : ends(span.first, span.last)) {
                QTest::addRow("%d", year) << year << QString::fromUtf8(span.opening)
                                          << QString::fromUtf8(span.ending) << span.length << runs;
            }
        }
    }
    void commentaires() {
        QFETCH(int, year);
        QFETCH(QString, opening);
        QFETCH(QString, ending);
        QFETCH(int, length);
        QFETCH(QList<int>, runs);
        const Writes writes = vorn::chronology::commentaires(static_cast<Year>(year));
        const std::optional<QString>& text = writes.text(Output::Commentary);
        if (length == 0) {
            QCOMPARE(writes.count(), 0);
            return;
        }
        QVERIFY(text.has_value());
        QCOMPARE(writes.count(), 1);
        QCOMPARE(runsOf(*text), runs);
        QCOMPARE(text->size(), length);
        QVERIFY2(text->startsWith(opening), qPrintable(*text));
        QVERIFY2(text->endsWith(ending), qPrintable(*text));
    }

    // Each box and row label has at most one writer for any year, so the order in which the
    // window applies the lookups never hides an answer.
    void oneWriterPerOutput() {
        Writes (*const all[])(Year) = {israel, juda, patriarches, juges,
                                       vorn::chronology::commentaires};
        for (int year = kMin; year <= kMax; ++year) {
            std::array<int, kOutputCount> texts{};
            std::array<int, kRowLabelCount> labels{};
            for (auto lookup : all) {
                const Writes writes = lookup(static_cast<Year>(year));
                for (std::size_t i = 0; i < kOutputCount; ++i)
                    texts[i] += writes.texts[i].has_value();
                for (std::size_t i = 0; i < kRowLabelCount; ++i)
                    labels[i] += writes.labels[i].has_value();
            }
            for (int n : texts) {
                if (n > 1)
                    QFAIL(qPrintable(QStringLiteral("two writers of one box in %1").arg(year)));
            }
            for (int n : labels) {
                if (n > 1)
                    QFAIL(qPrintable(QStringLiteral("two writers of one label in %1").arg(year)));
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestTables)
#include "tst_tables.moc"
