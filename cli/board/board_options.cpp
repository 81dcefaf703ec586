#include "cli/board/board_options.h"

#include "app/core/settings_file.h"

#include <charconv>
#include <cstdlib>

namespace quvan::cli {
namespace {

constexpr std::string_view kNone = "無し"; // the tool's name for "no head / no delimiter"

std::string_view EnvOrEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

app::SettingsLocation ToolLocation(const std::filesystem::path& self, bool pro) {
    const std::filesystem::path tool = self.parent_path() / (pro ? "quvan-tool-pro" : "quvan-tool");
    return app::SettingsLocationFor(tool, EnvOrEmpty("XDG_CONFIG_HOME"), EnvOrEmpty("HOME"));
}

} // namespace

bool SetHeadName(std::string_view name, std::string& head) {
    if (name == "STX")
        head = "STX";
    else if (name == "none" || name == kNone)
        head = std::string(kNone);
    else
        return false;
    return true;
}

bool SetDelimiterName(std::string_view name, std::string& delimiter) {
    if (name == "ETX" || name == "CR" || name == "LF" || name == "CRLF")
        delimiter = std::string(name);
    else if (name == "none" || name == kNone)
        delimiter = std::string(kNone);
    else
        return false;
    return true;
}

std::variant<BoardOptions, std::string> ParseBoardOptions(const std::vector<std::string>& args,
                                                          const std::filesystem::path& self) {
    BoardOptions o;
    std::string port, speed, head, dlmt;
    bool havePort = false, haveSpeed = false, haveHead = false, haveDlmt = false;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.empty() || a[0] != '-')
            break; // the command
        auto value = [&](std::string& target, bool& seen) {
            if (i + 1 >= args.size())
                return false;
            target = args[++i];
            seen = true;
            return true;
        };
        bool ok = true;
        bool unused = false;
        std::string simArgument;
        if (a == "--port")
            ok = value(port, havePort);
        else if (a == "--simulate")
            o.simulate = true;
        else if (a == "--sim") {
            ok = value(simArgument, unused);
            o.simulatorArguments.push_back(simArgument);
        } else if (a == "--speed")
            ok = value(speed, haveSpeed);
        else if (a == "--head")
            ok = value(head, haveHead);
        else if (a == "--dlmt")
            ok = value(dlmt, haveDlmt);
        else if (a == "--pro")
            o.pro = true;
        else
            return "unknown option " + a;
        if (!ok)
            return "option " + a + " needs a value";
    }
    if (i >= args.size())
        return std::string("no command given");
    if (havePort && o.simulate)
        return std::string("--port and --simulate exclude each other");
    o.command = args[i];
    o.commandArguments.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());

    const app::SettingsLocation where = ToolLocation(self, o.pro);
    o.port = app::LoadSettings(where).Port;
    if (havePort)
        o.port.PortName = port;
    if (haveSpeed) {
        int n = 0;
        const auto [end, error] = std::from_chars(speed.data(), speed.data() + speed.size(), n);
        if (error != std::errc() || end != speed.data() + speed.size() || n <= 0)
            return "--speed needs a positive number, not \"" + speed + "\"";
        o.port.BaudRate = n;
    }
    if (haveHead && !SetHeadName(head, o.port.SendHead))
        return "--head takes STX or none, not \"" + head + "\"";
    if (haveDlmt) {
        if (!SetDelimiterName(dlmt, o.port.SendDlmt))
            return "--dlmt takes ETX, CR, LF, CRLF or none, not \"" + dlmt + "\"";
        o.port.RecvDlmt = o.port.SendDlmt;
    }
    return o;
}

} // namespace quvan::cli
