// A message channel that keeps every packet it is given instead of sending it,
// for tests of the sending side. The test chooses which endpoints exist and
// whether sends fail. Not thread-safe.
#pragma once

#include "platform/IMessageChannel.h"

#include <set>
#include <vector>

class CFakeMessageChannel : public IMessageChannel
{
public:
    struct CPacket
    {
        std::wstring endpoint;
        uint64_t tag = 0;
        std::vector<uint8_t> payload;
    };

    bool EndpointExists(const std::wstring& name) override { return endpoints.count(name) != 0; }

    CStatus Send(const std::wstring& name,
                 uint64_t tag,
                 std::span<const uint8_t> payload,
                 std::chrono::milliseconds /*timeout*/,
                 uint64_t* answer = nullptr) override
    {
        if (!EndpointExists(name)) {
            return CStatus::NotFound(L"no endpoint " + name);
        }
        if (failSends) {
            return CStatus::IoError(L"send failed");
        }
        sent.push_back({name, tag, std::vector<uint8_t>(payload.begin(), payload.end())});
        if (answer != nullptr) {
            *answer = tag;
        }
        return CStatus::Ok();
    }

    std::set<std::wstring> endpoints;
    bool failSends = false;
    std::vector<CPacket> sent;
};
