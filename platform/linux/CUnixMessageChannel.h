// The sending side of the message transport: one Unix-domain SOCK_SEQPACKET
// connection per packet to the endpoint's socket (MessageEndpointPath), the
// 8-byte tag and the payload as one packet, then the receiver's 8-byte
// answer. Tag and answer are little-endian. Every step is non-blocking and
// bounded by the caller's time-out, so a hung or slow receiver costs at most
// that time. Endpoints owned by another user are refused: nothing is sent to
// them. Thread-compatible; instances share nothing, so one per thread works.
#pragma once

#include "platform/IMessageChannel.h"

class CUnixMessageChannel : public IMessageChannel
{
public:
    // Connects (and disconnects at once); true when a program of this user
    // accepts connections on the endpoint.
    bool EndpointExists(const std::wstring& name) override;

    // NotFound when no socket exists, nobody listens on it or the name can
    // name no endpoint (see MessageEndpointPath); IoError when the endpoint
    // belongs to another user, the packet is too large for the system, the
    // receiver closed without answering or the time-out passed.
    CStatus Send(const std::wstring& name,
                 uint64_t tag,
                 std::span<const uint8_t> payload,
                 std::chrono::milliseconds timeout,
                 uint64_t* answer = nullptr) override;
};
