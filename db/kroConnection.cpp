#include "db/kroConnection.h"

#include "db/CDbContext.h"

namespace kroDB {

void kroConnection::Release()
{
    // May delete this object: nothing may touch a member afterwards.
    m_context.ReleaseMain();
}

}  // namespace kroDB
