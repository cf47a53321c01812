// Positions in a key order: reading on from any record, or from a key value
// in the buffer, gives what a full pass gives from there.
#include "DataFolder.h"

#include <random>

namespace ven::test {
namespace {

struct KeyOrder : DataFilesTest {
    // The ids of a full pass forwards.
    std::vector<int64_t> fullPass(KeyedFile& f, int key)
    {
        std::vector<int64_t> ids;
        f.set(key);
        while (f.next().ok())
            ids.push_back(f.currentId());
        return ids;
    }

    // Up to `n` ids read on from the position, forwards or backwards.
    static std::vector<int64_t> readOn(KeyedFile& f, bool forward, size_t n)
    {
        std::vector<int64_t> ids;
        while (ids.size() < n && (forward ? f.next() : f.previous()).ok())
            ids.push_back(f.currentId());
        return ids;
    }

    // From every record and from every record's key values, `n` records
    // on in both directions match the full pass.
    void checkEveryPosition(KeyedFile& f, int key, size_t n)
    {
        const std::vector<int64_t> ref = fullPass(f, key);
        ASSERT_GT(ref.size(), n);
        auto slice = [&](size_t from, bool forward) {
            std::vector<int64_t> out;
            for (size_t i = from; out.size() < n && i < ref.size(); forward ? ++i : --i) {
                out.push_back(ref[i]);
                if (!forward && i == 0)
                    break;
            }
            return out;
        };
        // Each record's first record with the same key values (get() finds it).
        std::vector<size_t> groupFirst(ref.size());
        for (size_t i = 0; key >= 0 && i < ref.size(); ++i) {
            ASSERT_TRUE(f.getById(ref[i]).ok());
            ASSERT_TRUE(f.get(key).ok());
            groupFirst[i] = size_t(std::find(ref.begin(), ref.end(), f.currentId()) - ref.begin());
            ASSERT_LT(groupFirst[i], ref.size());
        }
        for (size_t i = 0; i < ref.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "key " << key << ", record " << i);
            for (bool forward : {true, false}) {
                f.set(key);
                ASSERT_TRUE(f.getById(ref[i]).ok());
                const std::vector<int64_t> expected = forward ? slice(i + 1, true) : (i ? slice(i - 1, false) : std::vector<int64_t>{});
                EXPECT_EQ(readOn(f, forward, n), expected) << (forward ? "next" : "previous");
            }
            if (key < 0)
                continue;
            // Before the key values of record i: the first record with those
            // values (as get() finds it) follows; backwards, the last record
            // with those values comes first, as a range's upper bound needs.
            const size_t first = groupFirst[i];
            size_t last = first;
            while (last + 1 < ref.size() && groupFirst[last + 1] == first)
                ++last;
            ASSERT_TRUE(f.getById(ref[i]).ok());
            f.setFromBuffer(key);
            EXPECT_EQ(readOn(f, true, n), slice(first, true)) << "next after setFromBuffer";
            ASSERT_TRUE(f.getById(ref[i]).ok());
            f.setFromBuffer(key);
            EXPECT_EQ(readOn(f, false, n), slice(last, false))
                << "previous after setFromBuffer";
        }
    }
};

// A text key of three parts whose values repeat, differ only in letter case
// or trailing blanks, or are left out as blank; and record order.
TEST_F(KeyOrder, ReadingOnInAThreePartTextKeyFollowsTheFullPass)
{
    KeyedFile& nam = open(VenNam);
    const char* const last[] = {"Aho", "aho", "Berg", "Berg ", "Koski", ""};
    const char* const first[] = {"Anna", "anna", "Eero", ""};
    const char* const org[] = {"", "Oy", "oy "};
    std::mt19937 rng(3);
    for (int i = 0; i < 90; ++i) {
        ASSERT_TRUE(nam.primeRecord().ok());
        nam.rec().set(NAM::LASTNAME, last[rng() % 6]);
        nam.rec().set(NAM::FIRSTNAME, first[rng() % 4]);
        nam.rec().set(NAM::ORG, org[rng() % 3]);
        ASSERT_TRUE(nam.insert().ok());
    }
    checkEveryPosition(nam, NAM::SUKU_KEY, 20);
    checkEveryPosition(nam, -1, 20);
}

// A key with a descending last part.
TEST_F(KeyOrder, ReadingOnInAKeyWithADescendingPartFollowsTheFullPass)
{
    KeyedFile& ala = open(VenAlarm);
    std::mt19937 rng(4);
    for (int i = 0; i < 60; ++i) {
        ASSERT_TRUE(ala.primeRecord().ok());
        ala.rec().set(ALA::DATE, 82000 + int(rng() % 2));
        ala.rec().set(ALA::TIME, 1 + int(rng() % 2));
        ala.rec().set(ALA::WARNING, int(rng() % 3) * 6000 + 1);
        ASSERT_TRUE(ala.insert().ok());
    }
    checkEveryPosition(ala, ALA::ALARM_KEY, 20);
}

} // namespace
} // namespace ven::test
