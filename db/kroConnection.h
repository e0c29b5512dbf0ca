// The shared connection to the program's own database.
#pragma once

#include "db/CConnectionBase.h"

namespace kroDB {

class kroConnection final : public CConnectionBase
{
public:
    explicit kroConnection(CDbContext& context)
        : CConnectionBase(context)
    {}
    void Release() override;
};

}  // namespace kroDB
