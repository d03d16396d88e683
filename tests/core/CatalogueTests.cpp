// The catalogue's French and English wordings, and how a core error is put
// into words: the same arguments must fit both wordings of every text.
#include "platform/Errors.h"
#include "settings/Texts.h"
#include "support/DbdFixtures.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace orvane {
namespace {

struct Pair {
    std::string name, fr, en;
};

// The wording pairs of one catalogue header: every innermost brace group of
// two string items after a BiText or CountText name (a CountText holds two).
std::vector<Pair> PairsIn(const std::string& file) {
    const std::string text = testing::ReadBytes(std::string(ORVANE_SOURCE_DIR) + "/" + file);
    std::vector<Pair> pairs;
    const std::regex entry(R"((?:BiText|CountText)\s+(\w+)\s*\{)");
    for (auto m = std::sregex_iterator(text.begin(), text.end(), entry);
         m != std::sregex_iterator(); ++m) {
        std::vector<std::string> items{""};
        bool inItem = false;
        for (std::size_t i = m->position() + m->length(), depth = 1; depth > 0; ++i) {
            const char c = text.at(i);
            if (c == '"') {
                for (++i; text.at(i) != '"'; ++i) {
                    if (text[i] == '\\') items.back() += text[i++];
                    items.back() += text[i];
                }
                inItem = true;
            } else if (c == ',' && inItem) {
                items.emplace_back();
                inItem = false;
            } else if (c == '{') {
                ++depth;
            } else if (c == '}') {
                --depth;
                if (items.size() == 2 && inItem)
                    pairs.push_back({(*m)[1].str(), items[0], items[1]});
                items = {""};
                inItem = false;
            }
        }
    }
    return pairs;
}

std::vector<std::string> Specifiers(const std::string& format) {
    static const std::regex spec(R"(%[-+ #0]*[0-9]*(?:\.[0-9]+)?(?:hh|h|ll|l|j|z|t|L)?[a-zA-Z%])");
    std::vector<std::string> out;
    for (auto m = std::sregex_iterator(format.begin(), format.end(), spec);
         m != std::sregex_iterator(); ++m)
        if (m->str() != "%%") out.push_back(m->str());
    return out;
}

TEST(Catalogue, EachFrenchAndEnglishPairTakesTheSameArguments) {
    std::vector<Pair> pairs = PairsIn("settings/Texts.h");
    const std::vector<Pair> files = PairsIn("platform/FileTexts.h");
    pairs.insert(pairs.end(), files.begin(), files.end());
    // The reader must see the whole catalogue, or the check proves nothing.
    ASSERT_GT(pairs.size(), 350u);
    for (const Pair& p : pairs)
        EXPECT_EQ(Specifiers(p.fr), Specifiers(p.en)) << p.name << ": " << p.fr << " / " << p.en;
}

TEST(Catalogue, ArgumentsFillEitherWording) {
    struct Case {
        BiText text;
        std::vector<TextArg> args;
        const char* fr;
        const char* en;
    };
    const auto cause = std::make_shared<const Message>(MessageOf(txt::RefusedParent));
    for (const Case& c : {
             Case{txt::BadRecordCount,
                  {std::string("A.dbd"), 7LL, 20LL},
                  "A.dbd : 7 enregistrements de 20 octets ne tiennent pas dans le fichier",
                  "A.dbd: 7 records of 20 bytes do not fit in the file"},
             // Unsigned offsets beyond the signed range, widths and flags.
             Case{txt::CannotSeek,
                  {18446744073709551615ULL, std::string("f")},
                  "Impossible d'aller à la position 18446744073709551615 dans f",
                  "Cannot seek to offset 18446744073709551615 in f"},
             Case{{"[%-4s|%3d|%05.1f|%%]", "[%-4s|%3d|%05.1f|%%]"},
                  {std::string("ab"), -5LL, 2.25},
                  "[ab  | -5|002.2|%]",
                  "[ab  | -5|002.2|%]"},
             // A catalogue text and a whole message as arguments are worded too.
             Case{txt::EntryRefused,
                  {std::string("..\\x"), cause},
                  "Entrée « ..\\x » refusée : le nom sort du dossier (« .. »)",
                  "Entry \"..\\x\" refused: the name leads out of the folder (\"..\")"},
             Case{txt::CsvUnwritableCell,
                  {2LL, std::string("A"), txt::CsvCharLf},
                  "Ligne 2, champ A : le texte contient un saut de ligne (LF), qu'un fichier CSV "
                  "ne peut pas contenir ; rien n'est écrit",
                  "Row 2, field A: the text holds a line feed (LF), which a CSV file cannot "
                  "hold; nothing is written"},
             // Too few arguments leave the specifier as written, never read past.
             Case{txt::BadRecordCount,
                  {std::string("A.dbd")},
                  "A.dbd : %d enregistrements de %d octets ne tiennent pas dans le fichier",
                  "A.dbd: %d records of %d bytes do not fit in the file"},
         }) {
        const Message m(c.text, c.args);
        EXPECT_EQ(m.In(Lang::French), c.fr);
        EXPECT_EQ(m.In(Lang::English), c.en);
    }
}

TEST(Catalogue, AnErrorIsWordedWhereItIsShownAndItsCauseWithIt) {
    const FileError cause(txt::CannotWriteFile, "/x/A.pod", "No space left on device");
    const FileError e(txt::ArchiveCloseAfterWrite, cause);
    EXPECT_STREQ(e.what(), "Cannot write file /x/A.pod: No space left on device: the record "
                           "written may not be on the disk");
    EXPECT_EQ(MessageIn(e, Lang::French),
              "Impossible d'écrire le fichier /x/A.pod : No space left on device : "
              "l'enregistrement écrit n'est peut-être pas sur le disque");
    EXPECT_EQ(MessageIn(std::runtime_error("plain"), Lang::French), "plain");
}

} // namespace
} // namespace orvane
