#include "chronology/tables.h"

#include <limits>
#include <span>

namespace vorn::chronology {

namespace {

constexpr Year kFirstYear = std::numeric_limits<Year>::min();
constexpr Year kLastYear = std::numeric_limits<Year>::max();

// One piece of a commentary and the run of spaces that follows it. In the multi-line box a
// run of two or more spaces ends the displayed line, so every piece starts a line of its own.
struct Piece {
    const char* text;
    int spacesAfter;
};

struct Retitle {
    const char* caption = nullptr; // nullptr: the row label keeps its caption
    int points = 0;
};

// One row: an inclusive year interval and what it writes. A null text is not written.
struct Row {
    Year first;
    Year last;
    const char* name = nullptr;
    const char* period = nullptr;
    Retitle label = {};
    std::span<const Piece> commentary = {};
};

// One lookup: its rows in the order they are tested, and where their texts go.
struct Table {
    std::span<const Row> rows;
    std::optional<Output> nameBox;
    std::optional<Output> periodBox;
    std::optional<RowLabel> labelRow;
};

// --- Ruler of Israel ----------------------------------------------------------------------

constexpr Row kIsrael[] = {
    {kFirstYear, -1096, "Hors période"},
    {71, kLastYear, "Hors période"},
    {-1051, -1012, "Saül", "-1051 à -1011"},
    {-1011, -972, "David", "-1011 à -971"},
    {-971, -932, "Salomon", "-971 à -931"},
    {-931, -911, "Jéroboam", "-931 à -910"},
    {-910, -910, "Nadab", "-910 à -909"},
    {-909, -887, "Baéscha", "-909 à -886"},
    {-886, -886, "Ela", "-886 à -885"},
    {-885, -885, "Zimri puis Omri", "-885 (Zimri: 7 jrs)"},
    {-885, -875, "Omri", "-885 à -874"}, // -885 belongs to the row above
    {-853, -853, "Achazia", "-853 à -852"},
    {-852, -842, "Joram", "-852 à -841"},
    {-841, -815, "Jéhu", "-841 à -814"},
    {-814, -800, "Joachaz", "-814 à -799"},
    {-799, -783, "Joas", "-799 à -782"},
    {-782, -754, "Jéroboam II", "-782 à -753"},
    {-752, -752, "Zacharie", "-752 (6 mois)"},
    {-751, -751, "Schallum, Menahem", "-751 (Sch. 1 mois)"},
    {-751, -742, "Menahem", "-751 à -741"},  // -751 belongs to the row above
    {-742, -741, "Pékachia", "-742 à -740"}, // -742 belongs to the row above
    {-740, -732, "Peqach", "-740 à -731"},
    {-731, -723, "Osée", "-731 à -722"},
    {39, 44, "Hérode Agrippa 1er", "39 à 44", {"Roi du Pays", 14}},
    {-4, 39, "Hérode Antipas", "-4 à 39", {"Galilée Pérée", 14}}, // 39 belongs to the row above
    {50, 53, "Hérode Agrippa II", "50 à 53", {"Galilée Pérée", 14}},
    {kFirstYear, kLastYear, "Non mentionné"},
};

// --- Ruler of Judah -----------------------------------------------------------------------

constexpr Row kJuda[] = {
    {-1095, -932, "Israël englobe Juda"}, // the united kingdom, before the split
    {kFirstYear, -1096, "Hors période"},
    {71, kLastYear, "Hors période"},
    {-931, -914, "Roboam", "-931 à -913"},
    {-913, -912, "Abijam", "-913 à -911"},
    {-911, -871, "Asa", "-911 à -870"},
    {-870, -850, "Josaphat", "-870 à -849"},
    {-849, -843, "Joram", "-849 à -842"},
    {-842, -842, "Achazia", "-842 à -841"},
    {-841, -836, "Athalie", "-841 à -835"},
    {-836, -797, "Joas", "-836 à -796"},    // -836 belongs to the row above
    {-797, -769, "Amatsia", "-797 à -768"}, // -797 belongs to the row above
    {-768, -741, "Osias", "-768 à -740"},
    {-740, -725, "Jotam", "-740 à -724"},
    {-724, -716, "Achaz", "-724 à -715"},
    {-715, -688, "Ezechias", "-715 à -687"},
    {-687, -643, "Manassé", "-687 à -642"},
    {-642, -641, "Amon", "-642 à -640"},
    {-640, -610, "Josias", "-640 à -609"},
    {-609, -609, "Joachaz puis Jojakim", "-609 (3 mois)"},
    {-609, -599, "Jojakim", "-609 à -598"}, // -609 belongs to the row above
    {-598, -598, "Jojakin", "-598 à -597 (3 mois)"},
    {-597, -588, "Sédécias", "-597 à -587"},
    {-587, -563, "Déportation", "-587"},
    {-562, -561, "Evil-Merodac", "-562 à -560"},
    {-560, -557, "Neriglisser", "-560 à -556"},
    {-556, -539, "Nabonidus et Belchatsar", "-556 à -539"},
    {-4, 6, "Archélaus", "-4 à 6", {"Ethnarque de Juda", 12}},
    {26, 36, "Ponce Pilate", "26 à 36", {"Procurateur de Juda", 11}},
    {39, 44, "Hérode Agrippa 1er", "39 à 44", {"Roi du Pays", 14}},
    {52, 58, "Félix", "52 à 58", {"Procurateur de Juda", 11}},
    {58, 61, "Festus", "58 à 61", {"Procurateur de Juda", 11}}, // 58 belongs to the row above
    {kFirstYear, kLastYear, "Non mentionné"},
};

// --- Patriarch ----------------------------------------------------------------------------

constexpr Row kPatriarches[] = {
    {kFirstYear, -1922, "Aucun"},
    {-1921, -1841, "Abraham", "-1921 à -1840"},
    {-1840, -1736, "Isaac", "-1840 à -1735"},
    {-1735, -1690, "Jacob (Israël)", "-1735 à -1689"},
    {-1491, -1452, "Moïse", "-1491 à -1451"},
    {-1689, -1492, "Non mentionné", "-1689 à -1491"},
    {-1451, kLastYear, "Aucun"},
};

// --- Judge --------------------------------------------------------------------------------

constexpr Piece kEhoud[] = {
    {"Ehoud, Chamgar, Débora ont sucessivement été Juges entre -1354 et -1249", 0},
};
constexpr Piece kAbimelec[] = {
    {"Abimélec, Tola, Yaïr, Jephté, Ibtsân, Elôn, Abdôn, Samson ont successivement été Juges en "
     "Israël entre -1209 et -1157",
     0},
};

constexpr const char* kSeeCommentary = " voir commentaires";

constexpr Row kJuges[] = {
    {kFirstYear, -1395, "Hors période"},
    {-1095, kLastYear, "Hors période"},
    {-1394, -1355, "Otniel", "-1394 à -1354"},
    {-1354, -1250, kSeeCommentary, nullptr, {}, kEhoud},
    {-1249, -1210, "Gédéon", "-1249 à -1209"},
    {-1209, -1158, kSeeCommentary, nullptr, {}, kAbimelec},
    {-1157, -1118, "Eli", "-1157 à -1117"},
    {-1117, -1096, "Samuel", "-1117 à -1095"},
};

// --- Commentary ---------------------------------------------------------------------------

constexpr Piece kFall[] = {
    {"La chute: depuis la création jusqu'à Noé les hommes s'éloignent de plus en plus du "
     "Créateur (Dieu) jusqu'à arriver à un point de non retour...",
     2},
    {"(-4004 à - 2348)", 0},
};
constexpr Piece kFlood[] = {
    {"Dieu limite le nombre d'années de l'homme à 120 ans (G.6/3). Noé est averti du plan de "
     "Dieu et commence la construction de l'arche. Le déluge dure 40 jours, le grossissement "
     "des eaux: 150 jours et au bout de 54 jours l'arche est ouverte. En tout: 244 jours dans "
     "l'arche. (-2348 à -2234)",
     0},
};
constexpr Piece kBabel[] = {
    {"Dispersion des races à Babel en -2234", 0},
};
constexpr Piece kAbraham[] = {
    {"Appel d'Abraham (-1921)", 42},
    {"Jacob fuit Esaü (-1760)", 46},
    {"Joseph devient gouverneur d'Egypte (-1715)", 11},
    {"La famille de Jacob vient en Egypte (-1706)", 0},
};
constexpr Piece kEgypt[] = {
    {"Mort de Joseph (-1635)", 43},
    {"Naissance de Moïse (-1571)", 39},
    {"L'Exode (-1491)", 0},
};
constexpr Piece kExodus[] = {
    {"Exode (-1491)", 49},
    {"Josué devient conducteur d'Israël (-1452)", 17},
    {"Traversée du Jourdain par Israël (-1451)", 17},
    {"Conquête de Canaan (-1451 à -1444)", 0},
};
constexpr Piece kDavid[] = {
    {"Le royaume d'Israël connaît sous le roi David sa plus grande superficie (de l'Euphrate "
     "jusqu'à la rivière d'Egypte).",
     66},
    {"Empire assyrien (-1100 à -625)", 0},
};
constexpr Piece kTemple[] = {
    {"Dédicace du Temple (-1004)", 36},
    {"Empire assyrien (-1100 à -625)", 0},
};
constexpr Piece kAssyria[] = {
    {"Empire assyrien (-1100 à -625)", 32},
    {"Fondation du royaume syrien (-970)", 25},
    {"Fondation de Rome (-753)", 37},
    {"Empire assyrien postérieur (-740)", 0},
};
constexpr Piece kBabylon[] = {
    {"Empire babilonien ou chaldéen (-625 à -536)", 0},
};
constexpr Piece kPersia[] = {
    {"Empire perse (-536 à -330)", 0},
};
constexpr Piece kGreece[] = {
    {"Empire grec et égyptiens (-330 à -166)", 21},
    {"Conquête d'Alexandre le Grand (-330)", 21},
    {"Juda est annexée par l'Egypte (-320)", 22},
    {"Juda est annexée par la Syrie (-193)", 27},
    {"Antochius profane le Temple (-168)", 23},
    {"Début de la révolte des Macchabées (-167)", 11},
    {"Successeurs d'Alexandre le Grand (-330 à -166)", 0},
};
constexpr Piece kMaccabees[] = {
    {"Période macchabéenne", 38},
    {"Nouvelle dédicace du Temple (-165)", 0},
};
constexpr Piece kHerod[] = {
    {"Période hérodienne", 47},
    {"Tibère César est empereur de Rome (14 à 37)", 0},
};
constexpr Piece kNero[] = {
    {"Néron est empereur de Rome (54 à 68)", 18},
    {"Jérusalem est détruite par Tite (70)", 0},
};

constexpr Row kCommentaires[] = {
    {-4004, -2349, nullptr, nullptr, {}, kFall},   {-2348, -2235, nullptr, nullptr, {}, kFlood},
    {-2234, -2101, nullptr, nullptr, {}, kBabel},  {-1950, -1707, nullptr, nullptr, {}, kAbraham},
    {-1706, -1492, nullptr, nullptr, {}, kEgypt},  {-1491, -1445, nullptr, nullptr, {}, kExodus},
    {-1055, -1016, nullptr, nullptr, {}, kDavid},  {-1015, -976, nullptr, nullptr, {}, kTemple},
    {-975, -626, nullptr, nullptr, {}, kAssyria},  {-625, -537, nullptr, nullptr, {}, kBabylon},
    {-536, -331, nullptr, nullptr, {}, kPersia},   {-330, -167, nullptr, nullptr, {}, kGreece},
    {-166, -64, nullptr, nullptr, {}, kMaccabees}, {-63, 36, nullptr, nullptr, {}, kHerod},
    {54, 89, nullptr, nullptr, {}, kNero},
};

constexpr Table kIsraelTable{kIsrael, Output::IsraelName, Output::IsraelPeriod, RowLabel::Israel};
constexpr Table kJudaTable{kJuda, Output::JudahName, Output::JudahPeriod, RowLabel::Judah};
constexpr Table kPatriarchesTable{kPatriarches, Output::PatriarchName, Output::PatriarchPeriod,
                                  std::nullopt};
constexpr Table kJugesTable{kJuges, Output::JudgeName, Output::JudgePeriod, std::nullopt};
constexpr Table kCommentairesTable{kCommentaires, std::nullopt, std::nullopt, std::nullopt};

// A row may only write what its table has a place for.
constexpr bool fitsTable(const Table& table) {
    for (const Row& row : table.rows) {
        if (row.first > row.last || (row.name && !table.nameBox) ||
            (row.period && !table.periodBox) || (row.label.caption && !table.labelRow))
            return false;
    }
    return true;
}
static_assert(fitsTable(kIsraelTable) && fitsTable(kJudaTable) && fitsTable(kPatriarchesTable) &&
              fitsTable(kJugesTable) && fitsTable(kCommentairesTable));

// The commentary the pieces make, each followed by its run of spaces.
QString commentaryText(std::span<const Piece> pieces) {
    QString text;
    for (const Piece& piece : pieces) {
        text += QString::fromUtf8(piece.text);
        text += QString(piece.spacesAfter, QLatin1Char(' '));
    }
    return text;
}

std::size_t slot(Output output) {
    return static_cast<std::size_t>(output);
}

// The first-match lookup every table goes through.
Writes lookup(const Table& table, Year year) {
    Writes writes;
    for (const Row& row : table.rows) {
        if (year < row.first || year > row.last)
            continue;
        if (row.name)
            writes.texts[slot(*table.nameBox)] = QString::fromUtf8(row.name);
        if (row.period)
            writes.texts[slot(*table.periodBox)] = QString::fromUtf8(row.period);
        if (!row.commentary.empty())
            writes.texts[slot(Output::Commentary)] = commentaryText(row.commentary);
        if (row.label.caption)
            writes.labels[static_cast<std::size_t>(*table.labelRow)] =
                LabelChange{QString::fromUtf8(row.label.caption), row.label.points};
        break;
    }
    return writes;
}

} // namespace

int Writes::count() const {
    int n = 0;
    for (const auto& text : texts)
        n += text.has_value() ? 1 : 0;
    for (const auto& label : labels)
        n += label.has_value() ? 1 : 0;
    return n;
}

Writes israel(Year year) {
    return lookup(kIsraelTable, year);
}

Writes juda(Year year) {
    return lookup(kJudaTable, year);
}

Writes patriarches(Year year) {
    return lookup(kPatriarchesTable, year);
}

Writes juges(Year year) {
    return lookup(kJugesTable, year);
}

Writes commentaires(Year year) {
    return lookup(kCommentairesTable, year);
}

} // namespace vorn::chronology
