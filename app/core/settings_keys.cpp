#include "app/core/settings_keys.h"

#include <charconv>
#include <optional>
#include <string>

namespace quvan::app {
namespace {

constexpr std::string_view kComPort = "COMPORT";
constexpr std::string_view kFile = "FILE";
constexpr std::string_view kWave = "WAVE";
constexpr std::string_view kLanguage = "LANGUAGE";

std::optional<int> ParseInteger(std::string_view text) {
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) {
            return std::nullopt;
        }
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

void ReadText(const ProfileText& p, std::string_view section, std::string_view key,
              std::string& value) {
    if (auto text = p.Get(section, key)) {
        value = std::move(*text);
    }
}

void ReadInteger(const ProfileText& p, std::string_view section, std::string_view key, int& value) {
    if (const auto text = p.Get(section, key)) {
        if (const auto number = ParseInteger(*text)) {
            value = *number;
        }
    }
}

} // namespace

AppSettings ReadSettings(const ProfileText& p) {
    AppSettings s; // starts with every default
    link::PortSettings& port = s.Port;
    ReadText(p, kComPort, "PortName", port.PortName);
    ReadInteger(p, kComPort, "BaudRate", port.BaudRate);
    ReadInteger(p, kComPort, "ByteSize", port.ByteSize);
    ReadInteger(p, kComPort, "StopBits", port.StopBits);
    ReadText(p, kComPort, "Parity__", port.Parity);
    ReadText(p, kComPort, "SendHead", port.SendHead);
    ReadText(p, kComPort, "SendDlmt", port.SendDlmt);
    ReadText(p, kComPort, "RecvDlmt", port.RecvDlmt);
    ReadInteger(p, kComPort, "RecvTout", port.RecvTout);

    ReadText(p, kFile, "CsvFile_", s.CsvFilePath);
    ReadText(p, kFile, "HexFile_", s.HexFilePath);
    ReadText(p, kFile, "UsbFile_", s.UsbDriverPath);
    ReadText(p, kFile, "SndPath_", s.SoundFolder);

    ReadInteger(p, kWave, "H_Range_", s.HRange);
    ReadInteger(p, kWave, "W_Range_", s.WRange);
    ReadInteger(p, kWave, "L_Time__", s.LearnTime);
    int irAck = 1;
    ReadInteger(p, kWave, "IrAck___", irAck);
    s.IrAck = irAck != 0;
    ReadText(p, kLanguage, "Language", s.Language);

    // A tolerance of 0 would make every pulse its own pattern; 0 means "not
    // set". A negative value is the user's own choice and kept.
    if (s.HRange == 0) {
        s.HRange = 20;
    }
    if (s.WRange == 0) {
        s.WRange = 15;
    }
    return s;
}

void WriteSettings(ProfileText& p, const AppSettings& s) {
    const link::PortSettings& port = s.Port;
    p.Set(kComPort, "PortName", port.PortName);
    p.Set(kComPort, "BaudRate", std::to_string(port.BaudRate));
    p.Set(kComPort, "ByteSize", std::to_string(port.ByteSize));
    p.Set(kComPort, "StopBits", std::to_string(port.StopBits));
    p.Set(kComPort, "Parity__", port.Parity);
    p.Set(kComPort, "SendHead", port.SendHead);
    p.Set(kComPort, "SendDlmt", port.SendDlmt);
    p.Set(kComPort, "RecvDlmt", port.RecvDlmt);
    p.Set(kComPort, "RecvTout", std::to_string(port.RecvTout));

    p.Set(kFile, "CsvFile_", s.CsvFilePath);
    p.Set(kFile, "HexFile_", s.HexFilePath);
    p.Set(kFile, "UsbFile_", s.UsbDriverPath);
    p.Set(kFile, "SndPath_", s.SoundFolder);

    p.Set(kWave, "H_Range_", std::to_string(s.HRange));
    p.Set(kWave, "W_Range_", std::to_string(s.WRange));
    p.Set(kWave, "L_Time__", std::to_string(s.LearnTime));
    p.Set(kWave, "IrAck___", s.IrAck ? "1" : "0");
    // Only a language the user chose is written, so that a file of a user
    // who never chose one stays as it was.
    if (!s.Language.empty())
        p.Set(kLanguage, "Language", s.Language);
}

} // namespace quvan::app
