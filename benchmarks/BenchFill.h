// A database of a grinder's size, made in minutes rather than hours: the hands
// of a corpus file (synthetic hands without the corpus) imported once, then
// renumbered copies of their hands and hand players written with bulk SQL,
// spread over the last eight months.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class CDatabase;

namespace kroDB {
class CDbContext;
}

namespace vxbench {

// Fills the empty database of `db` (open as `connection`) with at least
// `wanted` hands. `playerOf(hero)` gives the SQL expression of a copied hand
// player's idplayer, from the template's row `t` and the copy number `g.k`;
// `hero` is the template's most frequent player. False with `error` set when
// it fails.
bool FillWithCopies(kroDB::CDbContext& db,
                    CDatabase& connection,
                    int64_t wanted,
                    const std::function<std::wstring(int64_t hero)>& playerOf,
                    std::string& error);

}  // namespace vxbench
