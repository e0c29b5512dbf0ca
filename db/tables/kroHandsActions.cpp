#include "db/tables/kroHandsActions.h"

namespace kroDB {

std::wstring kroHandsActions::CreateText() const
{
    return L"CREATE TABLE handsactions (idhand bigint not null, actionno smallint null, idaction integer null, idplayer integer null, amount integer null);";
}

}  // namespace kroDB
