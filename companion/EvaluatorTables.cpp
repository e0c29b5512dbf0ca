#include "companion/EvaluatorTables.h"

#include "companion/HandValue.h"
#include "companion/RankEvaluation.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

namespace ostrand {

namespace {

using BinomialRow = std::array<int64_t, 53>;

constexpr std::array<BinomialRow, 53> MakeBinomials()
{
    std::array<BinomialRow, 53> c{};
    for (int n = 0; n < 53; ++n) {
        c[n][0] = 1;
        for (int k = 1; k <= n; ++k) {
            c[n][k] = c[n - 1][k - 1] + (k < n ? c[n - 1][k] : 0);
        }
    }
    return c;
}

constexpr std::array<BinomialRow, 53> kBinomials = MakeBinomials();

std::mutex s_mutex;  // guards s_owner and the publication of s_tables
std::unique_ptr<CEvaluatorTables> s_owner;
std::atomic<const CEvaluatorTables*> s_tables{nullptr};

int MultisetIndex(const int* ascending, int n)
{
    // Combinations with repetition map to plain combinations by adding each
    // element's position, which the combinatorial number system then ranks.
    int index = 0;
    for (int i = 0; i < n; ++i) {
        index += static_cast<int>(Binomial(ascending[i] + i, i + 1));
    }
    return index;
}

void FillIndexes(CEvaluatorTables& t)
{
    for (int a = 0; a < 13; ++a) {
        for (int b = a; b < 13; ++b) {
            const int pair[2] = {a, b};
            t.pairIndex[a][b] = t.pairIndex[b][a] = static_cast<uint8_t>(MultisetIndex(pair, 2));
            for (int c = b; c < 13; ++c) {
                const int triple[3] = {a, b, c};
                const auto index = static_cast<uint16_t>(MultisetIndex(triple, 3));
                t.tripleIndex[a][b][c] = t.tripleIndex[a][c][b] = t.tripleIndex[b][a][c] = index;
                t.tripleIndex[b][c][a] = t.tripleIndex[c][a][b] = t.tripleIndex[c][b][a] = index;
            }
        }
    }
}

void FillOmahaRanks(CEvaluatorTables& t)
{
    for (int a = 0; a < 13; ++a) {
        for (int b = a; b < 13; ++b) {
            for (int c = 0; c < 13; ++c) {
                for (int d = c; d < 13; ++d) {
                    for (int e = d; e < 13; ++e) {
                        uint8_t counts[13] = {};
                        ++counts[a];
                        ++counts[b];
                        ++counts[c];
                        ++counts[d];
                        ++counts[e];
                        t.omahaRank[t.pairIndex[a][b]][t.tripleIndex[c][d][e]] =
                            BestRankValue(counts, false);
                    }
                }
            }
        }
    }
}

void FillPattern(CEvaluatorTables& t, const int* r)
{
    uint8_t ranks[5];
    for (int i = 0; i < 5; ++i) {
        ranks[i] = static_cast<uint8_t>(r[i]);
    }
    CBoardPattern& p = t.patterns[PatternIndex(ranks)];
    std::copy(ranks, ranks + 5, p.ranks);
    p.tripleCount = 0;
    p.lowMask = 0;
    for (int i = 0; i < 5; ++i) {
        const int low = LowRank(r[i]);
        if (low >= 0) {
            p.lowMask = static_cast<uint8_t>(p.lowMask | 1u << low);
        }
        for (int j = i + 1; j < 5; ++j) {
            for (int k = j + 1; k < 5; ++k) {
                const uint16_t triple = t.tripleIndex[r[i]][r[j]][r[k]];
                if (std::find(p.triples, p.triples + p.tripleCount, triple) ==
                    p.triples + p.tripleCount) {
                    p.triples[p.tripleCount++] = triple;
                }
            }
        }
    }
}

void FillPatterns(CEvaluatorTables& t)
{
    int r[5];
    for (r[0] = 0; r[0] < 13; ++r[0]) {
        for (r[1] = r[0]; r[1] < 13; ++r[1]) {
            for (r[2] = r[1]; r[2] < 13; ++r[2]) {
                for (r[3] = r[2]; r[3] < 13; ++r[3]) {
                    for (r[4] = r[3]; r[4] < 13; ++r[4]) {
                        FillPattern(t, r);
                    }
                }
            }
        }
    }
}

// The integrity check: a correct table holds exactly the 6,175 classes of
// five-card hands without a flush, and a few landmark hands compare as poker does.
bool Verify(const CEvaluatorTables& t)
{
    std::vector<uint32_t> values(&t.omahaRank[0][0],
                                 &t.omahaRank[0][0] + kRankPairs * kRankTriples);
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    values.erase(std::remove(values.begin(), values.end(), 0u), values.end());
    if (values.size() != 6175) {
        return false;
    }
    const auto& p = t.pairIndex;
    const auto& tr = t.tripleIndex;
    const uint32_t wheel = t.omahaRank[p[12][0]][tr[1][2][3]];
    const uint32_t sixHigh = t.omahaRank[p[1][2]][tr[3][4][0]];
    const uint32_t aceHigh = t.omahaRank[p[12][11]][tr[9][8][6]];
    const uint32_t quads = t.omahaRank[p[0][0]][tr[0][0][1]];
    return CategoryOf(wheel) == kStraight && sixHigh > wheel && wheel > aceHigh &&
           CategoryOf(quads) == kQuads && t.patterns[kBoardPatterns - 1].ranks[0] == 12;
}

}  // namespace

int64_t Binomial(int n, int k)
{
    if (n < 0 || k < 0 || k > n || n > 52) {
        return 0;
    }
    return kBinomials[static_cast<size_t>(n)][static_cast<size_t>(k)];
}

int PatternIndex(const uint8_t ranks[5])
{
    const int r[5] = {ranks[0], ranks[1], ranks[2], ranks[3], ranks[4]};
    return MultisetIndex(r, 5);
}

bool LoadTables()
{
    std::scoped_lock lock(s_mutex);
    if (s_owner) {
        return true;
    }
    std::unique_ptr<CEvaluatorTables> tables(new (std::nothrow) CEvaluatorTables());
    if (!tables) {
        return false;
    }
    FillIndexes(*tables);
    FillOmahaRanks(*tables);
    FillPatterns(*tables);
    if (!Verify(*tables)) {
        return false;
    }
    s_owner = std::move(tables);
    s_tables.store(s_owner.get(), std::memory_order_release);
    return true;
}

const CEvaluatorTables* Tables()
{
    const CEvaluatorTables* tables = s_tables.load(std::memory_order_acquire);
    if (tables == nullptr && LoadTables()) {
        tables = s_tables.load(std::memory_order_acquire);
    }
    return tables;
}

void FreeTables()
{
    std::scoped_lock lock(s_mutex);
    s_tables.store(nullptr, std::memory_order_release);
    s_owner.reset();
}

}  // namespace ostrand
