#include "db/tables/kroPots.h"

namespace kroDB {

std::wstring kroPots::CreateText() const
{
    return L"CREATE TABLE pots (idhand bigint not null, potnum smallint null, amt integer null)";
}

}  // namespace kroDB
