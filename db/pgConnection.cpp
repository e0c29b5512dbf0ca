#include "db/pgConnection.h"

#include "db/CDbContext.h"

namespace kroDB {

void pgConnection::Release()
{
    // May delete this object: nothing may touch a member afterwards.
    m_context.ReleaseAdmin();
}

}  // namespace kroDB
