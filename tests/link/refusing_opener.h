#pragma once
// An opener that refuses the names it is told to, as the system refuses a
// device this user may not open or another program holds; the rest it opens
// for real. Tests run as root, for whom no permission bits count.

#include "platform/serial_port.h"

#include <map>
#include <string>

namespace quvan::test_support {

class RefusingOpener final : public platform::SerialPortOpener {
  public:
    struct Refusal {
        platform::OpenFailure kind = platform::OpenFailure::PermissionDenied;
        std::string group = "dialout";
        bool pending = false;
    };
    std::map<std::string, Refusal> refused;

    std::unique_ptr<platform::SerialPort> open(const std::string& name,
                                               platform::OpenError* error) override {
        const auto found = refused.find(name);
        if (found == refused.end()) {
            return real_.open(name, error);
        }
        if (error != nullptr) {
            *error = {};
            error->kind = found->second.kind;
            error->path = platform::ResolvePortPath(name);
            error->message = error->path + ": refused";
            if (error->kind == platform::OpenFailure::PermissionDenied) {
                error->deviceGroup = found->second.group;
                error->groupJoinPending = found->second.pending;
            }
        }
        return nullptr;
    }

  private:
    platform::PosixSerialPortOpener real_;
};

} // namespace quvan::test_support
