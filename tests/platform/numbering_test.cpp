// Numbers that forms give new records: the count plus one raised while
// taken (with and without the form's own placeholder counting), a key part
// the form sets itself against the engine's auto-numbering, and the highest
// plus one.
#include "Samples.h"

#include "platform/Numbering.h"

namespace ven::test {
namespace {

// ------------------------------------------------ count plus one rules ---

enum class Rule { Diary, Ideas };

// A sample form that numbers a new record by its rule when it opens.
class NumberingFr : public RecordForm {
public:
    explicit NumberingFr(Rule rule) : RecordForm("NumberingFr", sampleFormDef(), sampleFile(), ProcedureTraits{}), rule_(rule)
    {
        FIRSTFIELD = "Name";
    }

protected:
    bool setUp() override
    {
        if (!RecordForm::setUp())
            return false;
        if (REQUEST == InsertRecord) {
            KeyedFile& f = primary();
            f.rec().set(TST::NUMBER, rule_ == Rule::Diary ? countPlusOne(f, TST::NUMBER, TST::NUMBERKEY)
                                                          : countPlusOneBesideOwn(f, TST::NUMBER, TST::NUMBERKEY));
        }
        return true;
    }

private:
    Rule rule_;
};

std::vector<int64_t> storedNumbers()
{
    Context ctx;
    KeyedFile& f = ctx.file(sampleFile());
    f.open();
    std::vector<int64_t> out;
    f.set(TST::NUMBERKEY);
    while (f.next())
        out.push_back(f.rec().num(TST::NUMBER));
    return out;
}

TEST(Numbering, CountPlusOneRaisedWhileTakenWithAndWithoutTheOwnPlaceholder)
{
    const struct {
        Rule rule;
        std::vector<int> existing;
        int64_t expected;
    } cases[] = {
        // The count includes the placeholder the list reserved for the insert.
        {Rule::Ideas, {}, 2},
        {Rule::Ideas, {2, 3, 4}, 5},  // the placeholder holds 5 but is the new record itself
        {Rule::Ideas, {1, 2, 3}, 5},
        {Rule::Ideas, {2, 5}, 4},
        {Rule::Diary, {}, 2},
        {Rule::Diary, {2, 3, 4}, 6},  // here the placeholder's 5 counts as taken
        {Rule::Diary, {1, 2, 3}, 5},
        {Rule::Diary, {2, 5}, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.rule == Rule::Diary ? "diary" : "ideas") << " with " << c.existing.size());
        WindowKit kit;
        {
            Context ctx;
            KeyedFile& f = ctx.file(sampleFile());
            ASSERT_TRUE(f.open());
            for (int n : c.existing) {
                f.rec().clear();
                f.rec().set(TST::NUMBER, n);
                f.rec().set(TST::NAME, QString("Idea %1").arg(n));
                ASSERT_TRUE(f.add());
            }
        }
        const Rule rule = c.rule;
        kit.start([rule] {
            return std::make_unique<SampleBr>("SampleBr", ProcedureTraits{},
                                              [rule](BrowseList& b) { b.setForm([rule] { return std::make_unique<NumberingFr>(rule); }); });
        });
        kit.press("SampleBr", "Insert");
        ASSERT_TRUE(kit.isOpen("NumberingFr"));
        EXPECT_EQ(kit.text("NumberingFr", "Number").trimmed(), QString::number(c.expected));
        kit.type("NumberingFr", "Name", "New");
        kit.press("NumberingFr", "OK");
        EXPECT_FALSE(kit.isOpen("NumberingFr"));
        EXPECT_TRUE(kit.boxes().empty());
        EXPECT_EQ(sampleRecord(int(c.expected)).str(TST::NAME), "New");
        // The placeholder was rewritten under the form's number: nothing else is left.
        std::vector<int64_t> want(c.existing.begin(), c.existing.end());
        want.push_back(c.expected);
        std::sort(want.begin(), want.end());
        EXPECT_EQ(storedNumbers(), want);
    }
}

// --------------------------------- a key part that the form sets itself ---

namespace PRJ {
enum Field : uint16_t { CATEGORY, NUMBER, NAME };
enum Key : int { NUMBERKEY };
} // namespace PRJ

// Numbers unique within their category; the engine numbers the category
// within the number, as the project file does.
const FileDef& projectLikeFile()
{
    static const FileDef def{
        .label = "VenPrj",
        .prefix = "PRJ",
        .fields = {{"CATEGORY", FieldType::Byte, 1, ""}, {"NUMBER", FieldType::Long, 4, ""}, {"NAME", FieldType::CString, 31, ""}},
        .keys = {{"PRJ:NUMBERKEY", {{PRJ::NUMBER}, {PRJ::CATEGORY}}, true, true, true, 1, "Number Key"}},
        .initial = {},
        .ranges = {},
    };
    return def;
}

const WindowDef& projectLikeFormDef()
{
    static const WindowDef def{
        .title = "Update Projects",
        .w = 180,
        .h = 90,
        .controls = {
            {.name = "Category", .kind = Kind::Entry, .x = 50, .y = 8, .w = 20, .h = 12, .picture = "n1", .use = "PRJ:CATEGORY", .flags = ReadOnly},
            {.name = "Number", .kind = Kind::Entry, .x = 80, .y = 8, .w = 40, .h = 12, .picture = "n06b", .use = "PRJ:NUMBER", .flags = ReadOnly},
            {.name = "Name", .kind = Kind::Entry, .x = 50, .y = 24, .w = 100, .h = 12, .picture = "s30", .use = "PRJ:NAME"},
            {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 70, .y = 70, .w = 45, .h = 14, .flags = Default},
            {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 120, .y = 70, .w = 45, .h = 14, .closes = RequestCancelled},
        }};
    return def;
}

int gCategory = 0;

// Files a new record under the current category and the file's record count,
// raised on OK while the category holds it.
class ProjectLikeFr : public RecordForm {
public:
    ProjectLikeFr() : RecordForm("ProjectLikeFr", projectLikeFormDef(), projectLikeFile(), ProcedureTraits{})
    {
        FIRSTFIELD = "Name";
    }

protected:
    bool setUp() override
    {
        if (!RecordForm::setUp())
            return false;
        if (REQUEST == InsertRecord) {
            KeyedFile& f = primary();
            f.keepOwnNumber();
            f.rec().set(PRJ::CATEGORY, gCategory);
            f.rec().set(PRJ::NUMBER, f.records());
        }
        return true;
    }
    void accepted(const QString& c) override
    {
        if (c == QLatin1String("OK") && REQUEST == InsertRecord) {
            raiseWhileTaken(primary(), PRJ::NUMBER, PRJ::NUMBERKEY);
            window().display(QStringLiteral("Number"));  // OK takes the shown value
        }
        RecordForm::accepted(c);
    }
};

const WindowDef& projectLikeBrowseDef()
{
    static const WindowDef def{
        .title = "Projects",
        .w = 200,
        .h = 140,
        .controls = {
            {.name = "List", .kind = Kind::List, .x = 4, .y = 4, .w = 192, .h = 110},
            {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 4, .y = 120, .w = 40, .h = 14},
            {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 150, .y = 120, .w = 40, .h = 14, .closes = RequestCancelled},
        }};
    return def;
}

class ProjectLikeBr : public WindowController {
public:
    ProjectLikeBr() : WindowController("ProjectLikeBr", projectLikeBrowseDef(), ProcedureTraits{}) {}

protected:
    bool setUp() override
    {
        auto b = std::make_unique<BrowseList>(
            *this, projectLikeFile(),
            std::vector<BrowseColumn>{BrowseColumn::ofField(PRJ::NAME, "Name", 80, "s30"),
                                      BrowseColumn::ofField(PRJ::NUMBER, "Pro#", 30, "n06b"),
                                      BrowseColumn::ofField(PRJ::CATEGORY, "Category", 20, "n1")});
        b->addOrder(PRJ::NUMBERKEY);
        b->setForm([] { return std::make_unique<ProjectLikeFr>(); });
        addPart(std::move(b));
        return true;
    }
};

std::vector<std::pair<int64_t, int64_t>> projects()
{
    Context ctx;
    KeyedFile& f = ctx.file(projectLikeFile());
    f.open();
    std::vector<std::pair<int64_t, int64_t>> out;
    f.set(PRJ::NUMBERKEY);
    while (f.next())
        out.emplace_back(f.rec().num(PRJ::NUMBER), f.rec().num(PRJ::CATEGORY));
    return out;
}

TEST(Numbering, AFormSetsTheAutoNumberedPartItselfAndTheInsertKeepsIt)
{
    using P = std::pair<int64_t, int64_t>;
    const struct {
        std::vector<P> existing;  // (number, category)
        int category;
        P expected;
    } cases[] = {
        {{}, 1, {1, 1}},                       // the count includes the reserved record
        {{}, 0, {1, 0}},                       // category 0 is a category, not "unnumbered"
        {{{1, 0}, {2, 3}}, 3, {3, 3}},
        {{{1, 3}, {3, 3}}, 3, {4, 3}},         // 3 is taken in the category: raised
        {{{1, 3}, {3, 0}}, 3, {3, 3}},         // the same number in another category is free
        {{{3, 4}, {3, 0}, {5, 4}}, 1, {4, 1}}, // the engine would have given category 2
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.existing.size() << " projects, category " << c.category);
        WindowKit kit;
        {
            Context ctx;
            KeyedFile& f = ctx.file(projectLikeFile());
            ASSERT_TRUE(f.open());
            for (const auto& [n, cat] : c.existing) {
                f.rec().clear();
                f.rec().set(PRJ::NUMBER, n);
                f.rec().set(PRJ::CATEGORY, cat);
                f.rec().set(PRJ::NAME, "Old");
                ASSERT_TRUE(f.add());
            }
        }
        gCategory = c.category;
        kit.start([] { return std::make_unique<ProjectLikeBr>(); });
        kit.press("ProjectLikeBr", "Insert");
        ASSERT_TRUE(kit.isOpen("ProjectLikeFr"));
        EXPECT_EQ(kit.text("ProjectLikeFr", "Category").trimmed(), QString::number(c.category));
        kit.type("ProjectLikeFr", "Name", "New");
        kit.press("ProjectLikeFr", "OK");
        EXPECT_FALSE(kit.isOpen("ProjectLikeFr"));
        EXPECT_TRUE(kit.boxes().empty());
        std::vector<P> want = c.existing;
        want.push_back(c.expected);
        std::sort(want.begin(), want.end());
        EXPECT_EQ(projects(), want);
        const int row = kit.highlighted("ProjectLikeBr");
        EXPECT_EQ(kit.cell("ProjectLikeBr", row, 0), "New");
        EXPECT_EQ(kit.cell("ProjectLikeBr", row, 1).trimmed(), QString("%1").arg(c.expected.first, 6, 10, QChar('0')));
    }
}

TEST(Numbering, HighestPlusOneWithinTheLeadingParts)
{
    WindowKit kit;
    EXPECT_EQ(highestPlusOne(projectLikeFile(), PRJ::NUMBER, PRJ::NUMBERKEY), 1);
    Context ctx;
    KeyedFile& f = ctx.file(projectLikeFile());
    ASSERT_TRUE(f.open());
    for (const auto& [n, cat] : std::vector<std::pair<int, int>>{{2, 0}, {2, 3}, {7, 1}}) {
        f.rec().clear();
        f.rec().set(PRJ::NUMBER, n);
        f.rec().set(PRJ::CATEGORY, cat);
        ASSERT_TRUE(f.add());
    }
    EXPECT_EQ(highestPlusOne(projectLikeFile(), PRJ::NUMBER, PRJ::NUMBERKEY), 8);
    Record leading(&projectLikeFile());
    leading.set(PRJ::NUMBER, 2);
    EXPECT_EQ(highestPlusOne(projectLikeFile(), PRJ::CATEGORY, PRJ::NUMBERKEY, &leading), 4);
    leading.set(PRJ::NUMBER, 5);
    EXPECT_EQ(highestPlusOne(projectLikeFile(), PRJ::CATEGORY, PRJ::NUMBERKEY, &leading), 1);
}

} // namespace
} // namespace ven::test
