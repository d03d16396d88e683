#include "database/Template.h"
#include "forms/ByteEntry.h"
#include "forms/CoordinateEntry.h"
#include "forms/RecordEditor.h"
#include "platform/Errors.h"

#include "support/NamedCase.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace orvane;

namespace {

// A table of one data row whose field cells hold `values`, and the fields.
struct Loaded {
    RecordTable table;
    std::vector<EditorField> fields;
};

Loaded OneRow(const std::vector<EditorField>& fields, const std::vector<std::string>& values) {
    Loaded l{RecordTable(), fields};
    l.table.SetColumnCount(kFirstFieldColumn + static_cast<int>(fields.size()));
    l.table.SetRowCount(2);
    for (std::size_t i = 0; i < values.size(); ++i)
        l.table.SetCell(kFirstFieldColumn + static_cast<int>(i), 1, values[i]);
    return l;
}

// `count` text fields "F<i>" holding "v<i>", with some fields replaced.
Loaded Numbered(int count, const std::vector<std::pair<int, EditorField>>& special = {},
                const std::vector<std::pair<int, std::string>>& values = {}) {
    std::vector<EditorField> fields;
    std::vector<std::string> cells;
    for (int i = 0; i < count; ++i) {
        fields.push_back({"F" + std::to_string(i), 'C', 8});
        cells.push_back("v" + std::to_string(i));
    }
    for (const auto& [i, f] : special)
        fields[static_cast<std::size_t>(i)] = f;
    for (const auto& [i, v] : values)
        cells[static_cast<std::size_t>(i)] = v;
    return OneRow(fields, cells);
}

} // namespace

// --- Record editor --------------------------------------------------------------------------

TEST(RecordEditor, PagesHoldTwentyNineFieldsAndStopAtEightySeven) {
    for (int field = 0; field < kEditorFieldLimit; ++field) {
        auto at = PositionOfField(field);
        ASSERT_TRUE(at) << field;
        EXPECT_EQ(FieldAt(at->page, at->row), field);
    }
    EXPECT_EQ(PositionOfField(28), (EditorPosition{1, 29}));
    EXPECT_EQ(PositionOfField(29), (EditorPosition{2, 1}));
    EXPECT_EQ(PositionOfField(86), (EditorPosition{3, 29}));
    EXPECT_FALSE(PositionOfField(87));
    EXPECT_EQ(FieldAt(1, 0), -1);
    EXPECT_EQ(FieldAt(4, 1), -1);
}

TEST(RecordEditor, FillShowsTitleTypeWidthAndValue) {
    Loaded l = Numbered(30, {{29, {"Freq", 'D', 8}}}, {{29, "118.5"}});
    std::vector<FieldDef> defs; // the template's own field list
    for (const EditorField& f : l.fields)
        defs.push_back({"NAME", 0, f.Width, f.Type, f.Title});
    RecordEditor editor;
    editor.FillFrom(l.table, 1, defs);
    const EditorLine& line = editor.Line(2, 1);
    EXPECT_EQ(line.title + "|" + line.type + "|" + line.width + "|" + line.value, "Freq|D|8|118.5");
    EXPECT_EQ(line.kind, RowKind::Decimal);
    EXPECT_EQ(editor.Line(2, 2).kind, RowKind::None); // empty row: no type, no check
    EXPECT_FALSE(editor.KeyPressed(2, 2, "abc").notice);
}

struct CheckCase : orvane::testing::NamedCase {
    int check; // 0 ValidateOnLeave, 1 WarnOnKey, 2 TrimOnKey
    EditorField field;
    const char* value;
    Lang lang;
    std::string text; // empty: the rule holds
    std::string title;
    NoticeIcon icon;
    bool beep;
    const char* after;
};

class RecordEditorCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(RecordEditorCheck, ReactsAsTheRuleWants) {
    const CheckCase& c = GetParam();
    Loaded l = OneRow({c.field}, {"0"});
    RecordEditor editor;
    editor.DecimalSeparator = ',';
    editor.Fill(l.table, 1, l.fields);
    CheckResult r = c.check == 0   ? editor.ValidateOnLeave(1, 1, "0", c.value, c.lang)
                    : c.check == 1 ? editor.WarnOnKey(1, 1, c.value)
                                   : editor.TrimOnKey(1, 1, c.value);
    EXPECT_EQ(r.value, c.after);
    EXPECT_EQ(editor.Line(1, 1).value, c.after);
    if (c.text.empty()) {
        EXPECT_FALSE(r.notice);
        return;
    }
    ASSERT_TRUE(r.notice);
    EXPECT_EQ(*r.notice, (EditorNotice{c.text, c.title, c.icon, c.beep}));
    EXPECT_EQ(r.backToRow, c.check == 0 && c.field.Type == 'I');
}

const EditorField kInt{"Ident", 'I', 4}, kReal{"Freq", 'D', 8}, kByte{"Flag", 'C', 1},
    kText{"Name", 'C', 4};
const std::string kErr = txt::InputErrorTitle, kIntFr = txt::IntegerRequested.fr;
constexpr auto E = Lang::English;

INSTANTIATE_TEST_SUITE_P(
    RecordEditor, RecordEditorCheck,
    ::testing::Values(
        CheckCase{"LeaveIntegerSpeaksEnglish", 0, kInt, "12a", E, txt::IntegerRequested.en, kErr,
                  NoticeIcon::Error, true, "12a"},
        CheckCase{"LeaveIntegerFrench", 0, kInt, "", Lang::French, kIntFr, kErr, NoticeIcon::Error,
                  true, ""},
        CheckCase{"WarnIntegerAlwaysFrench", 1, kInt, "", E, kIntFr, kErr, NoticeIcon::None, true,
                  ""},
        CheckCase{"TrimIntegerNoBeep", 2, kInt, "1x", E, kIntFr, kErr, NoticeIcon::None, false,
                  "1"},
        CheckCase{"TrimEmptyStaysEmpty", 2, kInt, "", E, kIntFr, kErr, NoticeIcon::None, false, ""},
        CheckCase{"IntegerHolds", 2, kInt, "-4294967295", E, "", "", NoticeIcon::None, false,
                  "-4294967295"},
        CheckCase{"LeaveDecimalPoint", 0, kReal, "1.5", E, txt::DecimalRequested, kErr,
                  NoticeIcon::None, true, "1.5"},
        CheckCase{"TrimDecimal", 2, kReal, "1,5x", E, txt::DecimalRequested, kErr, NoticeIcon::None,
                  true, "1,5"},
        CheckCase{"DecimalCommaHolds", 1, kReal, "-12,25", E, "", "", NoticeIcon::None, false,
                  "-12,25"},
        CheckCase{"LeaveByteKeeps", 0, kByte, "256", E, txt::ByteRangeOnly, "", NoticeIcon::None,
                  false, "256"},
        CheckCase{"WarnByte", 1, kByte, "-1", E, txt::ByteRangeOnly, "", NoticeIcon::None, false,
                  "-1"},
        CheckCase{"TrimByte300Leaves30", 2, kByte, "300", E, txt::ByteRangeOnly, "",
                  NoticeIcon::None, false, "30"},
        CheckCase{"ByteIgnoresLength", 1, kByte, "200", E, "", "", NoticeIcon::None, false, "200"},
        CheckCase{"LeaveTextCut", 0, kText, "ABCDEF", E, txt::LineCut, kErr, NoticeIcon::None, true,
                  "ABCD"},
        CheckCase{"WarnTextCut", 1, kText, "ABCDE", E, txt::LineCut, kErr, NoticeIcon::None, true,
                  "ABCD"},
        CheckCase{"TrimTextLimited", 2, kText, "ABCDE", E, "Ligne limitée à 4 caractères", kErr,
                  NoticeIcon::None, false, "ABCD"},
        CheckCase{"LeaveUnchangedIsQuiet", 0, kInt, "0", E, "", "", NoticeIcon::None, false, "0"}),
    orvane::testing::CaseName);

TEST(RecordEditor, KeysRunTheChecksOfTheirPage) {
    // Field 0 on page 1, field 29 on page 2: both integers.
    Loaded l = Numbered(30, {{0, kInt}, {29, kInt}}, {{0, "1"}, {29, "1"}});
    RecordEditor editor;
    editor.Fill(l.table, 1, l.fields);
    // Page 1: the value before the key warns, the value after it is trimmed.
    EXPECT_TRUE(editor.KeyPressed(1, 1, "").notice->beep);
    CheckResult released = editor.KeyReleased(1, 1, "1x");
    EXPECT_EQ(released.value, "1");
    // Pages 2 and 3 trim the value before the key and ignore the release.
    EXPECT_EQ(editor.KeyPressed(2, 1, "1x").value, "1");
    EXPECT_FALSE(editor.KeyReleased(2, 1, "1y").notice);
    EXPECT_EQ(editor.Line(2, 1).value, "1y");
}

TEST(RecordEditor, CoordinatePairCrossesThePageBoundary) {
    Loaded l = Numbered(31, {{28, {"Latitude", 'D', 8}}, {29, {"LONGITUDE (deg)", 'D', 8}}},
                        {{28, "-178200"}, {29, "1031400,5"}});
    RecordEditor editor;
    editor.DecimalSeparator = ',';
    editor.Fill(l.table, 1, l.fields);
    for (auto [page, row] : {std::pair{1, 29}, std::pair{2, 1}}) {
        EntryRequest r = editor.OpenEntryDialog(page, row, MouseButton::Left);
        ASSERT_EQ(r.kind, EntryRequest::Kind::Coordinates);
        EXPECT_EQ(r.latitudeField, 28);
        EXPECT_EQ(r.longitudeField, 29);
        EXPECT_EQ(r.latitude, -178200);
        EXPECT_EQ(r.longitude, 1031400.5);
    }
    EntryRequest r = editor.OpenEntryDialog(2, 1, MouseButton::Right);
    editor.ApplyCoordinates(r, 162360.25, -4500);
    EXPECT_EQ(editor.Line(1, 29).value, "162360,25");
    EXPECT_EQ(editor.Line(2, 1).value, "-4500");
}

TEST(RecordEditor, CoordinateWithoutPartnerOrNumberOpensNothing) {
    Loaded l = Numbered(
        87, {{0, {"Longitude", 'D', 8}}, {86, {"latitude", 'D', 8}}, {40, {"Latitude", 'D', 8}}});
    RecordEditor editor;
    editor.Fill(l.table, 1, l.fields);
    EXPECT_THROW(editor.OpenEntryDialog(1, 1, MouseButton::Left), ConversionError);
    EXPECT_THROW(editor.OpenEntryDialog(3, 29, MouseButton::Left), ConversionError);
    EXPECT_THROW(editor.OpenEntryDialog(2, 12, MouseButton::Left), ConversionError); // "v40"
}

TEST(RecordEditor, RightPressOpensTheByteEntryForIntegersAndBytesOnly) {
    Loaded l = Numbered(4, {{0, kInt}, {1, kByte}, {2, kReal}}, {{0, "-1"}, {1, "65"}});
    RecordEditor editor;
    editor.Fill(l.table, 1, l.fields);
    EXPECT_EQ(editor.OpenEntryDialog(1, 1, MouseButton::Left).kind, EntryRequest::Kind::None);
    EntryRequest integer = editor.OpenEntryDialog(1, 1, MouseButton::Right);
    ASSERT_EQ(integer.kind, EntryRequest::Kind::Byte);
    EXPECT_EQ(integer.byteViews, IntegerPreset("Ident", -1));
    EXPECT_EQ(integer.byteViews.hexText, "FFFFFFFF");
    EntryRequest byte = editor.OpenEntryDialog(1, 2, MouseButton::Right);
    EXPECT_EQ(byte.byteViews,
              (ByteViews{"Flag", false, EntryMode::Decimal, "00000041", 65, "65", "A", true}));
    for (int row : {3, 4, 5})
        EXPECT_EQ(editor.OpenEntryDialog(1, row, MouseButton::Right).kind,
                  EntryRequest::Kind::None);
    editor.ApplyByte(byte, "66");
    EXPECT_EQ(editor.Line(1, 2).value, "66");
}

TEST(RecordEditor, CarryBackWritesShownFieldsMarksTheRowAndRecounts) {
    Loaded l = Numbered(90);
    l.table.SetRowCount(3);
    l.table.SetCell(kColExport, 2, "1");
    l.table.SelectedCount = 1;
    RecordEditor editor;
    editor.Fill(l.table, 1, l.fields);
    editor.SetValue(3, 29, "new");
    l.table.SetCell(kFirstFieldColumn + 88, 1, "kept");
    ASSERT_TRUE(editor.CarryBack(l.table, E).done);
    EXPECT_EQ(l.table.Cell(kFirstFieldColumn + 86, 1), "new");
    EXPECT_EQ(l.table.Cell(kFirstFieldColumn + 88, 1), "kept");
    EXPECT_EQ(l.table.Cell(kColModif, 1), "x");
    EXPECT_EQ(l.table.Cell(kColExport, 1), "1");
    EXPECT_EQ(l.table.SelectedCount, 2);
    editor.CarryBack(l.table, E); // already selected: the counter stays
    EXPECT_EQ(l.table.SelectedCount, 2);
}

TEST(RecordEditor, CarryBackRefusesAChangedValueThatBreaksItsRule) {
    Loaded l = Numbered(31, {{30, kByte}}, {{30, "7"}, {2, "toolongtext"}});
    RecordEditor editor;
    editor.Fill(l.table, 1, l.fields);
    editor.SetValue(2, 2, "300"); // pages 2 and 3 let the last key through
    CarryBackResult r = editor.CarryBack(l.table, E);
    EXPECT_FALSE(r.done);
    EXPECT_EQ(r.focus, (EditorPosition{2, 2}));
    EXPECT_EQ(r.notice->text, "Field \"Flag\" (page 2, row 2): the value \"300\" is incorrect."
                              "\r\nCorrect it or cancel.");
    EXPECT_EQ(l.table.Cell(kFirstFieldColumn + 30, 1), "7");
    EXPECT_EQ(l.table.Cell(kColModif, 1), "");
    editor.SetValue(2, 2, "255"); // the loaded over-long text passes untouched
    EXPECT_TRUE(editor.CarryBack(l.table, E).done);
    EXPECT_EQ(l.table.Cell(kFirstFieldColumn + 2, 1), "toolongtext");
}

// "Erase all" leaves the flag columns alone while the template keeps its
// fields: a record typed in the editor brings the field columns back.
TEST(RecordEditor, CarryBackIntoAnErasedTableGivesItItsFieldColumns) {
    Loaded l = Numbered(3);
    l.table.SetColumnCount(kFirstFieldColumn);
    l.table.ClearAll();
    RecordEditor editor;
    editor.Fill(l.table, 1, l.fields);
    EXPECT_FALSE(editor.Changed());
    editor.SetValue(1, 1, "ZZ001");
    EXPECT_TRUE(editor.Changed());
    ASSERT_TRUE(editor.CarryBack(l.table, E).done);
    ASSERT_EQ(l.table.ColumnCount(), kFirstFieldColumn + 3);
    EXPECT_EQ(l.table.Cell(kFirstFieldColumn, 1), "ZZ001");
    EXPECT_EQ(l.table.Cell(kFirstFieldColumn + 2, 0), "F2");
    editor.Fill(l.table, 1, l.fields);
    EXPECT_EQ(editor.Line(1, 1).value, "ZZ001");
}

TEST(RecordEditor, TextsWrittenBackAndPrintTitles) {
    EXPECT_EQ(ShortestDecimalText(162360, '.'), "162360");
    EXPECT_EQ(ShortestDecimalText(-178200.5, ','), "-178200,5");
    EXPECT_EQ(ShortestDecimalText(0.1 + 0.2, '.'), "0.3");
    EXPECT_EQ(ShortestDecimalText(-0.0, '.'), "0");
    EXPECT_EQ(ShortestDecimalText(1e-7, '.'), "0.0000001");
    EXPECT_EQ(EditorPrintTitle(1, "AIRPORT", 12), "AIRPORT - ligne 12 - colonne  1 à 30");
    EXPECT_EQ(EditorPrintTitle(2, "ILS", 7), "ILS - ligne 7 - colonne 31 à 60");
    EXPECT_EQ(EditorPrintTitle(3, "COMM", 1), "COMM - ligne 1 - colonne 61 à 90");
}

// --- Byte value entry ------------------------------------------------------------------------

TEST(ByteEntry, EveryByteComesBackThroughEveryInput) {
    ByteEntry entry;
    for (int n = 0; n <= 255; ++n) {
        std::string text = std::to_string(n);
        // Each input in turn sets the value; every mode then reads it back.
        for (int input = 0; input < 4; ++input) {
            entry.Preset(BytePreset("Flag", 0, "0"));
            if (input == 0) entry.HexTyped(HexText(static_cast<std::uint32_t>(n)));
            if (input == 1) entry.DecimalTyped(text);
            if (input == 2) entry.CharacterTyped(static_cast<unsigned char>(n));
            if (input == 3) entry.CounterStep(n);
            for (EntryMode mode :
                 {EntryMode::Hexadecimal, EntryMode::Decimal, EntryMode::Character}) {
                entry.SetMode(mode);
                entry.ResultText = "none";
                ByteOkResult ok = entry.Ok(E);
                if (n == 0 && mode == EntryMode::Character && input != 2) {
                    EXPECT_FALSE(ok.closes); // no character for code 0
                    EXPECT_EQ(ok.notice->text, txt::NoCharacterChosen.en);
                    EXPECT_EQ(entry.ResultText, "none");
                    continue;
                }
                EXPECT_TRUE(ok.closes);
                EXPECT_EQ(entry.ResultText, text) << "input " << input << " mode " << int(mode);
            }
            entry.SetMode(EntryMode::YesNo);
            entry.Ok(E);
            EXPECT_EQ(entry.ResultText, n ? "1" : "0");
        }
    }
}

TEST(ByteEntry, HexadecimalTextReadOnOk) {
    for (auto [text, value] :
         std::vector<std::pair<std::string, std::uint32_t>>{{"000000ff", 255},
                                                            {"FF", 255},
                                                            {"1G", 16},
                                                            {"FFFFFFFF", 4294967295u},
                                                            {"123456789", 0x23456789u},
                                                            {"", 0}}) {
        EXPECT_EQ(HexResult(text), value) << text;
    }
    ByteEntry entry;
    entry.Preset(IntegerPreset("Ident", 4294967295));
    EXPECT_EQ(entry.Views().hexText, "FFFFFFFF");
    entry.Ok(E);
    EXPECT_EQ(entry.ResultText, "4294967295");
    entry.HexTyped("12345678"); // an integer field has no other views
    EXPECT_EQ(entry.Views().counter, 0);
}

TEST(ByteEntry, HexadecimalKeyFilterKeepsRefusedKeysOut) {
    ByteEntry entry;
    for (char key : std::string("\b\r0123456789ABCDEFabcdef"))
        EXPECT_TRUE(entry.HexKey(key).accepted) << int(key);
    for (char key : std::string("gG -x.")) {
        HexKeyResult r = entry.HexKey(key);
        EXPECT_FALSE(r.accepted) << key;
        EXPECT_EQ(*r.notice, (EditorNotice{"Caractère incorrect", "", NoticeIcon::Error, false}));
    }
}

TEST(ByteEntry, ViewsFollowEachOtherAndDecimalStaysInRange) {
    ByteEntry entry;
    entry.Preset(BytePreset("Flag", 65, "65"));
    entry.DecimalTyped("300");
    EXPECT_EQ(entry.Views(),
              (ByteViews{"Flag", false, EntryMode::Decimal, "000000FF", 255, "255", "\xFF", true}));
    entry.DecimalTyped("-4");
    EXPECT_EQ(entry.Views().counter, 0);
    EXPECT_EQ(entry.Views().decimalText, "0");
    entry.DecimalTyped(""); // mid-typing: nothing follows
    EXPECT_EQ(entry.Views().hexText, "00000000");
    entry.CharacterChosen("B");
    EXPECT_EQ(entry.Views().decimalText, "66");
    entry.YesNoClicked(true); // hexadecimal and character stay
    EXPECT_EQ(entry.Views().counter, 1);
    EXPECT_EQ(entry.Views().hexText, "00000042");
    entry.HexTyped("1FF"); // above a byte: the other views stay
    EXPECT_EQ(entry.Views().counter, 1);
    entry.CounterStep(-5);
    EXPECT_EQ(entry.Views().counter, 0);
    EXPECT_FALSE(entry.Views().yes);
    std::vector<std::string> letters = LetterList();
    ASSERT_EQ(letters.size(), 26u);
    EXPECT_EQ(letters.front() + letters.back(), "AZ");
}

// --- Latitude and longitude entry ---------------------------------------------------------

struct FillCase : orvane::testing::NamedCase {
    double latitude, longitude; // degrees
    char separator;
    CoordinateTexts expected;
};

class CoordinateFill : public ::testing::TestWithParam<FillCase> {};

TEST_P(CoordinateFill, SplitsAndComesBackUnchanged) {
    const FillCase& c = GetParam();
    CoordinateEntry entry;
    entry.Latitude = c.latitude * 3600;
    entry.Longitude = c.longitude * 3600;
    EXPECT_TRUE(entry.Fill(c.separator).empty());
    EXPECT_EQ(entry.Texts(), c.expected);
    CoordinateOkResult ok = entry.Ok(c.separator, E);
    EXPECT_TRUE(ok.closes && ok.notices.empty());
    EXPECT_NEAR(entry.Latitude, c.latitude * 3600, 1e-6);
    EXPECT_NEAR(entry.Longitude, c.longitude * 3600, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    CoordinateEntry, CoordinateFill,
    ::testing::Values(
        FillCase{"South", -49.5, 0, '.', {"S", "49", "30", "0.0000", "E", "0", "0", "0.0000"}},
        FillCase{
            "WestAbove180", 0, 286.5, '.', {"N", "0", "0", "0.0000", "W", "73", "30", "0.0000"}},
        FillCase{"Exactly180", 1, 180, '.', {"N", "1", "0", "0.0000", "E", "180", "0", "0.0000"}},
        FillCase{
            "WestBelowZero", 12, -73.5, '.', {"N", "12", "0", "0.0000", "W", "73", "30", "0.0000"}},
        FillCase{"NoSixtySeconds",
                 45.1,
                 359.9,
                 ',',
                 {"N", "45", "6", "0,0000", "W", "0", "6", "0,0000"}},
        FillCase{"FractionalSeconds",
                 -(33 + 56.0 / 60 + 12.3456 / 3600),
                 -(151 + 10.0 / 60 + 38.5 / 3600),
                 ',',
                 {"S", "33", "56", "12,3456", "W", "151", "10", "38,5000"}},
        FillCase{"EastFraction",
                 51.4775,
                 0.0014,
                 '.',
                 {"N", "51", "28", "39.0000", "E", "0", "0", "5.0400"}}),
    orvane::testing::CaseName);

TEST(CoordinateEntry, RangeChecksCutTheLastCharacter) {
    struct Case {
        CoordinateField field;
        const char* typed;
        const char* kept;
        const char* message; // nullptr: accepted
    };
    for (const Case& c :
         std::vector<Case>{{CoordinateField::DegLat, "91", "9", txt::LatitudeDegreesRange},
                           {CoordinateField::DegLat, "-1000", "-10", txt::LatitudeDegreesRange},
                           {CoordinateField::DegLon, "181", "18", txt::LongitudeDegreesRange},
                           {CoordinateField::DegLon, "-180", "-180", nullptr},
                           {CoordinateField::MinLat, "60", "60", nullptr},
                           {CoordinateField::MinLon, "61", "6", txt::MinutesSecondsRange},
                           {CoordinateField::SecLat, "60.5", "60.", txt::MinutesSecondsRange},
                           {CoordinateField::SecLon, "12.3456", "12.3456", nullptr},
                           {CoordinateField::DegLat, "-", "-", nullptr},
                           {CoordinateField::MinLat, "", "", nullptr}}) {
        FieldCheckResult r = CheckCoordinateField(c.field, c.typed, '.');
        EXPECT_EQ(r.text, c.kept) << c.typed;
        if (c.message)
            EXPECT_EQ(*r.notice, (EditorNotice{c.message, "Erreur de saisie"})) << c.typed;
        else
            EXPECT_FALSE(r.notice) << c.typed;
    }
    CoordinateEntry entry; // a stored latitude above 90 degrees is cut at once
    entry.Latitude = 100 * 3600;
    EXPECT_EQ(entry.Fill('.').size(), 1u);
    EXPECT_EQ(entry.Texts().degLat, "10");
}

TEST(CoordinateEntry, OkWithBadHemisphereKeepsThatCoordinateOnly) {
    CoordinateEntry entry;
    entry.Latitude = 1800;
    entry.Longitude = 7200;
    entry.Fill('.');
    entry.SetHemisphere(true, "n");
    entry.FieldChanged(CoordinateField::DegLon, "3", '.');
    CoordinateOkResult ok = entry.Ok('.', E);
    EXPECT_TRUE(ok.closes);
    ASSERT_EQ(ok.notices.size(), 1u);
    EXPECT_EQ(ok.notices[0].text, "N ou S seulement");
    EXPECT_EQ(entry.Latitude, 1800);
    EXPECT_EQ(entry.Longitude, 3 * 3600);
    entry.SetHemisphere(false, "O");
    EXPECT_EQ(entry.Ok('.', E).notices.back().text, "E ou W seulement");
}

TEST(CoordinateEntry, OkWithAFieldThatIsNotANumberStaysOpen) {
    CoordinateEntry entry;
    entry.Latitude = 1800;
    entry.Fill('.');
    entry.FieldChanged(CoordinateField::SecLon, "-", '.');
    entry.FieldChanged(CoordinateField::DegLat, "5", '.');
    CoordinateOkResult ok = entry.Ok('.', E);
    EXPECT_FALSE(ok.closes);
    EXPECT_EQ(ok.notices.at(0).text, "Longitude sec: \"-\" is not a number");
    EXPECT_EQ(entry.Latitude, 1800);
}
