// Packets to another program's named endpoint: the stand-in for handing a
// window a block of bytes and waiting until it has taken them. A program that
// receives owns an endpoint named after its caption ("Pelmora" for the HUD
// program, "VeltrixClass" for the tracker). One packet is an 8-byte tag plus
// the payload; the receiver answers with 8 bytes before it acts on the packet.
// Implementations are thread-compatible: one sender at a time.
#pragma once

#include "foundation/CStatus.h"

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

class IMessageChannel
{
public:
    virtual ~IMessageChannel() = default;

    // Whether a program owns the endpoint `name` and accepts packets now.
    virtual bool EndpointExists(const std::wstring& name) = 0;

    // Sends one packet to the endpoint `name` and waits at most `timeout` for
    // the receiver's 8-byte answer, stored in `answer` when not null. NotFound
    // when no program owns the endpoint; IoError when the packet could not be
    // sent or no answer came in time (the packet may still have arrived).
    virtual CStatus Send(const std::wstring& name,
                         uint64_t tag,
                         std::span<const uint8_t> payload,
                         std::chrono::milliseconds timeout,
                         uint64_t* answer = nullptr) = 0;
};
