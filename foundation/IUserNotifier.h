// Messages that the user must see: a message box in the desktop program, standard
// error plus a log line in the command-line program. Texts are passed unchanged.
#pragma once

#include <string>

class IUserNotifier
{
public:
    virtual ~IUserNotifier() = default;
    virtual void Notify(const std::wstring& text) = 0;
};

class CNullUserNotifier : public IUserNotifier
{
public:
    void Notify(const std::wstring&) override {}
};
