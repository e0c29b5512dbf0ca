// The shared administrative connection to the server's "postgres" database.
#pragma once

#include "db/CConnectionBase.h"

namespace kroDB {

class pgConnection final : public CConnectionBase
{
public:
    explicit pgConnection(CDbContext& context)
        : CConnectionBase(context)
    {}
    void Release() override;
};

}  // namespace kroDB
