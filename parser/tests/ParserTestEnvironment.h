// A parser environment for tests: the shipped stat definitions, a database
// context (connected only when a test asks for the test server), the default
// action list and a notifier that records what the user would see.
#pragma once

#include "db/CDbContext.h"
#include "db/tables/CActionList.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/LocalTime.h"
#include "parser/CParseContext.h"
#include "parser/CParserEnvironment.h"

#include <memory>
#include <string>
#include <vector>

namespace vxtest {

class CRecordingSink : public ILogSink, public IUserNotifier
{
public:
    void Log(const std::wstring& text) override { logs.push_back(text); }
    void Output(const std::wstring& text) override { outputs.push_back(text); }
    void Trace(const std::wstring&) override {}
    void Notify(const std::wstring& text) override { notices.push_back(text); }
    std::vector<std::wstring> logs;
    std::vector<std::wstring> outputs;
    std::vector<std::wstring> notices;
};

struct CParserTestEnvironment
{
    CParserTestEnvironment()
    {
        definitions.LoadStatTypes(std::string(VX_SOURCE_DIR) + "/data/predeftypes.json");
        db = std::make_unique<kroDB::CDbContext>(definitions, sink, sink);
        (void)db->AllocateEnvironment();
        actions.LoadDefaults();
        kroHandParser::CParseSettings settings;
        settings.localOffset = MeasureLocalUtcOffset();
        env = std::make_unique<kroHandParser::CParserEnvironment>(*db, actions, context, sink, sink,
                                                                  settings);
    }

    CStatDefinitions definitions;
    CRecordingSink sink;
    std::unique_ptr<kroDB::CDbContext> db;
    kroDB::CActionList actions;
    kroHandParser::CParseContext context;
    std::unique_ptr<kroHandParser::CParserEnvironment> env;
};

}  // namespace vxtest
