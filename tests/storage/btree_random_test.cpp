// Random key operations against a model, with the structural check after
// every batch.
#include <iterator>
#include <optional>
#include <random>
#include <set>

#include "storage/btree.h"
#include "storage/index_check.h"
#include "storage_fixture.h"

namespace vantu::test {
namespace {

using Entry = std::pair<std::string, int16_t>;

struct Model {
  bool duplicates = false;
  std::set<Entry> entries;
  std::optional<Entry> at;  // current position; none = reset

  // First entry with key >= k (all record numbers above 0).
  std::set<Entry>::iterator LowerBound(const std::string& k) { return entries.lower_bound({k, 0}); }
  std::set<Entry>::iterator KeyEntry(const std::string& k, int16_t r) {
    if (duplicates) return entries.find({k, r});
    auto it = LowerBound(k);
    return it != entries.end() && it->first == k ? it : entries.end();
  }
};

class BTreeRandomTest : public StorageTest {
 protected:
  std::string RandomKey(int keyLength) {
    std::uniform_int_distribution<int> len(0, keyLength + 1), ch('0', '7');
    std::string k(len(rng), ' ');
    for (char& c : k) c = static_cast<char>(ch(rng));
    return k;
  }

  void Step(Model& m, int keyLength, int addBias) {
    std::uniform_int_distribution<int> op(0, 99), rec(1, m.duplicates ? 40 : 32000);
    std::string key = RandomKey(keyLength), cut = key.substr(0, keyLength);
    int16_t r = static_cast<int16_t>(rec(rng));
    const int o = op(rng);
    if (o < addBias) return Add(m, key, cut, r);
    if (o < 60) return Delete(m, key, cut, r);
    if (o < 70) return Find(m, key, cut);
    if (o < 80) return Search(m, key, cut);
    Walk(m, o < 90);
  }

  void Add(Model& m, std::string& key, const std::string& cut, int16_t r) {
    const bool fresh = m.KeyEntry(cut, r) == m.entries.end();
    AddKey(ix, r, key);
    ASSERT_EQ(key, cut);
    ASSERT_EQ(LastOpOk(), fresh) << "add " << cut << " " << r;
    if (fresh) m.entries.insert({cut, r});
    m.at.reset();
  }

  void Delete(Model& m, std::string& key, const std::string& cut, int16_t r) {
    auto it = m.KeyEntry(cut, r);
    if (it == m.entries.end() && !m.entries.empty() && r % 2 == 0) {
      it = std::next(m.entries.begin(), r % m.entries.size());  // mostly hit existing keys
      key = it->first;
      r = it->second;
    }
    const bool present = it != m.entries.end();
    int16_t out = r;
    DeleteKey(ix, out, key);
    ASSERT_EQ(LastOpOk(), present) << "delete " << key << " " << r;
    if (present) {
      EXPECT_EQ(out, it->second);
      m.entries.erase(it);
    }
    m.at.reset();
  }

  void Find(Model& m, std::string& key, const std::string& cut) {
    int16_t r = -5;
    FindKey(ix, r, key);
    auto lb = m.LowerBound(cut);
    const bool found = lb != m.entries.end() && lb->first == cut;
    ASSERT_EQ(LastOpOk(), found) << "find " << cut;
    if (found) {
      EXPECT_EQ(r, lb->second);
      m.at = *lb;
    } else if (m.duplicates) {  // the search went on to the next entry
      EXPECT_EQ(key, lb == m.entries.end() ? cut : lb->first);
      m.at = lb == m.entries.end() ? std::nullopt : std::optional<Entry>(*lb);
    } else {
      EXPECT_EQ(key, cut);
      m.at = lb == m.entries.begin() ? std::nullopt : std::optional<Entry>(*std::prev(lb));
    }
  }

  void Search(Model& m, std::string& key, const std::string& cut) {
    int16_t r = -5;
    SearchKey(ix, r, key);
    auto lb = m.LowerBound(cut);
    ASSERT_EQ(LastOpOk(), lb != m.entries.end()) << "search " << cut;
    if (lb == m.entries.end()) return m.at.reset();
    EXPECT_EQ(Entry(key, r), *lb);
    m.at = *lb;
  }

  void Walk(Model& m, bool forward) {
    int16_t r = -5;
    std::string key;
    std::set<Entry>::iterator it;
    if (forward) {
      NextKey(ix, r, key);
      it = m.at ? m.entries.upper_bound(*m.at) : m.entries.begin();
    } else {
      PrevKey(ix, r, key);
      it = m.at ? m.entries.lower_bound(*m.at) : m.entries.end();
      it = it == m.entries.begin() ? m.entries.end() : std::prev(it);
    }
    ASSERT_EQ(LastOpOk(), it != m.entries.end()) << (forward ? "next" : "prev");
    if (it == m.entries.end()) return m.at.reset();
    EXPECT_EQ(Entry(key, r), *it);
    m.at = *it;
  }

  void ExpectSameEntries(const Model& m) {
    std::vector<IndexEntry> got;
    ASSERT_EQ(CheckIndexIntegrity(ix, &got), "");
    ASSERT_EQ(got.size(), m.entries.size());
    auto it = m.entries.begin();
    for (const IndexEntry& e : got) {
      ASSERT_EQ(Entry(e.key, e.record), *it);
      ++it;
    }
  }

  std::mt19937 rng{20261207};
  IndexFileState ix;
};

TEST_F(BTreeRandomTest, OperationsAgreeWithTheModel) {
  struct Config {
    const char* name;
    int keyLength;
    bool duplicates;
  };
  const Config configs[] = {{"unique, 5", 5, false},
                            {"duplicates, 5", 5, true},
                            {"unique, 6", 6, false},
                            {"duplicates, 6", 6, true}};
  for (const Config& c : configs) {
    SCOPED_TRACE(c.name);
    ResetStorageEngine();
    MakeIndex(ix, c.name, c.keyLength, c.duplicates);
    Model m;
    m.duplicates = c.duplicates;
    // Grow, churn, then shrink, so that splits, borrows and merges all happen.
    const int bias[] = {70, 70, 70, 50, 50, 35, 20, 5, 5, 5};
    for (int batch = 0; batch < 10; ++batch) {
      for (int i = 0; i < 1500; ++i) {
        Step(m, c.keyLength, bias[batch]);
        if (HasFatalFailure()) return;
      }
      ExpectSameEntries(m);
      if (batch % 3 == 2) {
        CloseIndex(ix);
        OpenIndex(ix, c.name, c.keyLength, c.duplicates);
        m.at.reset();
      }
    }
    while (!m.entries.empty()) {
      std::string key = m.entries.begin()->first;
      int16_t r = m.entries.begin()->second;
      DeleteKey(ix, r, key);
      ASSERT_TRUE(LastOpOk());
      m.entries.erase(m.entries.begin());
    }
    EXPECT_EQ(ix.Root, 0);
    EXPECT_EQ(ix.File.FreeCount, ix.File.RecordCount - 1);
    ExpectSameEntries(m);
    CloseIndex(ix);
  }
}

}  // namespace
}  // namespace vantu::test
