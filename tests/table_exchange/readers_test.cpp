// The readers and writers of the signal formats, on texts written by hand:
// what each reads, and every refusal with its line and reason.
#include "table/exchange/flipper_ir.h"
#include "table/exchange/lirc_conf.h"
#include "table/exchange/pronto_hex.h"
#include "table/exchange/pulse_space.h"
#include "table/exchange/raw_timings.h"
#include "table/exchange/signal_formats.h"

#include <gtest/gtest.h>

namespace quvan::exchange {
namespace {

std::string Reasons(const SignalFile& f) {
    std::string all;
    for (const SignalRefusal& r : f.refused)
        all += DescribeRefusal(r) + "\n";
    return all;
}

TEST(RawTimings, ParagraphsNamesCarriersAndSigns) {
    const SignalFile f = ReadRawTimings("# two signals\n"
                                        "name: POWER\n"
                                        "carrier: 36.7kHz\n"
                                        "+9000 -4500, +560 -560\n"
                                        "+560\n"
                                        "\n"
                                        "name: MUTE\n"
                                        "889 889 1778 # unsigned: mark first\n");
    ASSERT_EQ(f.accepted.size(), 2u) << Reasons(f);
    EXPECT_EQ(f.accepted[0].name, "POWER");
    EXPECT_EQ(f.accepted[0].line, 2);
    EXPECT_EQ(f.accepted[0].carrierHz, 36700);
    EXPECT_EQ(f.accepted[0].once, (Durations{9000, 4500, 560, 560, 560}));
    EXPECT_FALSE(f.accepted[0].repeatGiven);
    // The carrier line holds for the signals after it.
    EXPECT_EQ(f.accepted[1].carrierHz, 36700);
    EXPECT_EQ(f.accepted[1].once, (Durations{889, 889, 1778}));

    // Without a carrier line: the one given, else 38 kHz.
    EXPECT_EQ(ReadRawTimings("100 200 300", 40000).accepted.at(0).carrierHz, 40000);
    EXPECT_EQ(ReadRawTimings("100 200 300").accepted.at(0).carrierHz, 38000);
}

TEST(RawTimings, RefusalsNameTheLineAndLeaveTheOtherSignals) {
    const SignalFile f = ReadRawTimings("name: A\n+500 +500\n\n"                    // lines 1-2
                                        "name: B\n-500 500\n\n"                     // 4-5
                                        "name: C\n500 0 500\n\n"                    // 7-8
                                        "name: D\n100000 10\n\n"                    // 10-11
                                        "name: E\n500 999500\n\n"                   // 13-14
                                        "name: F\n500 12x\n\n"                      // 16-17
                                        "name: G\ncarrier: 455kHz\n500 500 500\n\n" // 19-21
                                        "name: H\ncarrier: 0\n500\n\n"              // 23-25
                                        "name: OK\ncarrier: 38000\n500 500 500\n"); // 27-28
    ASSERT_EQ(f.accepted.size(), 1u) << Reasons(f);
    EXPECT_EQ(f.accepted[0].name, "OK");
    EXPECT_EQ(Reasons(f),
              "line 2: A: two marks in a row: a space is missing between them\n"
              "line 5: B: the signal starts with a space: a mark must come first\n"
              "line 8: C: a space of 0 \xC2\xB5s: durations must be at least 1 \xC2\xB5s\n"
              "line 11: D: a mark of 100000 \xC2\xB5s is longer than the board measures "
              "(99999 \xC2\xB5s)\n"
              "line 14: E: a mark and its space last 1000000 \xC2\xB5s, longer than the board "
              "measures (999999 \xC2\xB5s)\n"
              "line 17: F: '12x' is not a duration in whole microseconds\n"
              "line 20: G: a carrier of 455000 Hz is outside the 10.0 to 99.9 kHz the board "
              "reports\n"
              "line 24: H: '0' is not a carrier frequency\n");
}

TEST(RawTimings, MoreThanACaptureHoldsIsRefused) {
    std::string text;
    for (int i = 0; i < 4097; ++i)
        text += "500 500\n";
    const SignalFile f = ReadRawTimings(text);
    EXPECT_TRUE(f.accepted.empty());
    EXPECT_EQ(Reasons(f),
              "line 4097: more than 4096 pulses: one capture of the board holds no more\n");
}

TEST(RawTimings, WrittenWithSignsAndTheRepeatSectionTwiceAfterALeadIn) {
    ExportedSignal s{3, "TV ON", 38000, {9000, 4500, 560, 40000}, {9000, 2250, 560, 96000}};
    const std::string text = WriteRawTimings({s});
    EXPECT_EQ(text, "# Raw timings in microseconds: + mark, - space. One signal per paragraph.\n"
                    "\nname: TV ON\ncarrier: 38000\n"
                    "+9000 -4500 +560 -40000 +9000 -2250 +560 -96000 +9000 -2250 +560 -96000\n");
    const SignalFile back = ReadRawTimings(text);
    ASSERT_EQ(back.accepted.size(), 1u);
    EXPECT_EQ(back.accepted[0].once, SingleSequence(s));
    // Without a lead-in the repeat section is written once.
    s.leadIn.clear();
    EXPECT_EQ(SingleSequence(s), s.repeat);
}

TEST(PulseSpace, SilenceTimeoutsAndLongSpacesEndSignals) {
    const SignalFile f = ReadPulseSpace("Using driver default on device /dev/lirc0\n"
                                        "space 16777215\n" // the silence before
                                        "pulse 9000\nspace 4500\npulse 560\n"
                                        "timeout 12000\n"
                                        "carrier 36000\n"
                                        "pulse 2400\nspace 600\npulse 600\n"
                                        "space 700000\n" // longer than the learning end time
                                        "pulse 100\nspace 100\nspace 100\n");
    ASSERT_EQ(f.accepted.size(), 2u) << Reasons(f);
    EXPECT_EQ(f.accepted[0].line, 3);
    EXPECT_EQ(f.accepted[0].carrierHz, 38000);
    EXPECT_EQ(f.accepted[0].once, (Durations{9000, 4500, 560}));
    EXPECT_EQ(f.accepted[1].carrierHz, 36000);
    EXPECT_EQ(f.accepted[1].once, (Durations{2400, 600, 600}));
    EXPECT_EQ(Reasons(f), "line 14: two spaces in a row: a mark is missing between them\n");

    const SignalFile bad = ReadPulseSpace("pulse 560\nsilence 20\npulse x\n");
    EXPECT_EQ(Reasons(bad),
              "line 2: 'silence 20' is not a pulse, space, timeout or carrier line\n");
}

TEST(Pronto, LearnedCodeWithOnceAndRepeatSequences) {
    // FREQ 0x6D = 109: a period of 109 * 0.241246 = 26.2958 µs (38029 Hz).
    // 0x156 = 342 periods = 8993 µs, 0xAB = 4497, 0x15 = 552, 0x40 = 1683,
    // 0x55 = 2235.
    const SignalFile f = ReadPronto("name: POWER\n"
                                    "0000 006D 0002 0001 0156 00AB 0015 0040\n"
                                    "0156 0055\n"
                                    "MUTE\n"
                                    "0000 006d 0000 0001 0015 0040\n");
    ASSERT_EQ(f.accepted.size(), 2u) << Reasons(f);
    const ImportedSignal& s = f.accepted[0];
    EXPECT_EQ(s.name, "POWER");
    EXPECT_EQ(s.line, 2);
    EXPECT_EQ(s.carrierHz, 38029);
    EXPECT_TRUE(s.repeatGiven);
    EXPECT_EQ(s.once, (Durations{8993, 4497, 552, 1683}));
    EXPECT_EQ(s.repeat, (Durations{8993, 2235}));
    EXPECT_EQ(f.accepted[1].name, "MUTE");
    EXPECT_TRUE(f.accepted[1].once.empty());
    EXPECT_EQ(f.accepted[1].repeat, (Durations{552, 1683}));
}

TEST(Pronto, NamesBeforeTheCodeOnItsLine) {
    const SignalFile f = ReadPronto("\xEF\xBB\xBFPOWER: 0000 006D 0000 0001 0015 0040\n"
                                    "name: Vol up 0000 006D 0000 0001\n"
                                    "0015 0040\n"
                                    "Ch 12 0001\n");
    ASSERT_EQ(f.accepted.size(), 2u);
    EXPECT_EQ(f.accepted[0].name, "POWER");
    EXPECT_EQ(f.accepted[1].name, "Vol up");
    EXPECT_EQ(f.accepted[1].repeat, (Durations{552, 1683}));
    // A name that no code follows names nothing.
    EXPECT_TRUE(f.refused.empty());
}

TEST(Pronto, BrokenCodesAreRefusedAndTheNextOneRead) {
    const SignalFile f = ReadPronto("0000 006D 0000 0001 00G5 0040\n"           // 1
                                    "0100 006D 0000 0001 0015 0040\n"           // 2
                                    "0000 0000 0000 0001 0015 0040\n"           // 3
                                    "0000 0001 0000 0001 0015 0040\n"           // 4
                                    "0000 006D 0000 0002 0015 0040 0015\n"      // 5
                                    "0000 006D 0000 0001 0015\n"                // 6
                                    "0000 006D 0000 0001 0015 0040 0015 0040\n" // 7
                                    "0000 006D 0000 0001 0000 0040\n"           // 8
                                    "5000 0073 0000 0001 0001 0001\n"           // 9
                                    "0000 006D 0000 0001 0015 0040\n");         // 10
    ASSERT_EQ(f.accepted.size(), 1u);
    EXPECT_EQ(f.accepted[0].line, 10);
    EXPECT_EQ(Reasons(f), "line 1: '00G5' is not a 4-digit hexadecimal Pronto word\n"
                          "line 2: an unmodulated Pronto code (0100): the board learns only "
                          "signals on a carrier\n"
                          "line 3: the carrier word is 0000\n"
                          "line 4: a carrier of 4145146 Hz is outside the 10.0 to 99.9 kHz the "
                          "board reports\n"
                          "line 5: an odd number of duration words (3): the last mark has no "
                          "space\n"
                          "line 6: an odd number of duration words (1): the last mark has no "
                          "space\n"
                          "line 7: more words than the header announces (2 duration words)\n"
                          "line 8: a mark of 0 \xC2\xB5s: durations must be at least 1 "
                          "\xC2\xB5s\n"
                          "line 9: Pronto code type 5000 is not a learned code (0000)\n");
}

TEST(Pronto, WrittenInCarrierPeriods) {
    // 38 kHz: FREQ = 1e6 / (38000 * 0.241246) = 109.08 -> 0x6D. 9000 µs are
    // 342.3 periods of 26.2958 µs -> 0x156; 4500 -> 171 (0xAB); 560 -> 21;
    // 1690 -> 64 (0x40).
    const ExportedSignal s{1, "POWER", 38000, {9000, 4500}, {560, 1690}};
    EXPECT_EQ(WritePronto({s}), "# Pronto Hex learned codes: name, then the code\n"
                                "\nname: POWER\n"
                                "0000 006D 0001 0001 0156 00AB 0015 0040\n");
}

TEST(Flipper, RawAndParsedSignals) {
    const SignalFile f = ReadFlipperIr("Filetype: IR signals file\n"
                                       "Version: 1\n"
                                       "# comment\n"
                                       "name: Vol_up\n"
                                       "type: raw\n"
                                       "frequency: 38000\n"
                                       "duty_cycle: 0.330000\n"
                                       "data: 9024 4512 579\n"
                                       "data: 552 579\n"
                                       "#\n"
                                       "name: POWER\n"
                                       "type: parsed\n"
                                       "protocol: SIRC\n"
                                       "address: 01 00 00 00\n"
                                       "command: 15 00 00 00\n");
    ASSERT_EQ(f.accepted.size(), 2u) << Reasons(f);
    EXPECT_EQ(f.accepted[0].name, "Vol_up");
    EXPECT_EQ(f.accepted[0].line, 4);
    EXPECT_EQ(f.accepted[0].carrierHz, 38000);
    EXPECT_EQ(f.accepted[0].once, (Durations{9024, 4512, 579, 552, 579}));
    ASSERT_TRUE(f.accepted[1].encoded.has_value());
    EXPECT_EQ(f.accepted[1].carrierHz, 40000);
    // SIRC command 0x15, address 1: the leader, then 1010100 10000.
    const protocols::Waveform& w = f.accepted[1].encoded->first;
    EXPECT_EQ(w.durations().front(), 2400);
    EXPECT_EQ(w.durations()[2], 1200);
    EXPECT_EQ(w.durations()[4], 600);
}

TEST(Flipper, RefusedSignalsAndHeaders) {
    const SignalFile f = ReadFlipperIr("Filetype: IR signals file\nVersion: 1\n"
                                       "name: A\ntype: parsed\nprotocol: NEC\n"
                                       "address: 00 01 00 00\ncommand: 02 00 00 00\n" // 3
                                       "name: B\ntype: parsed\nprotocol: Sony\n"
                                       "address: 01 00 00 00\ncommand: 02 00 00 00\n" // 8
                                       "name: C\ntype: parsed\nprotocol: NEC\n"
                                       "address: 0100 00 00\ncommand: 02 00 00 00\n" // 13
                                       "name: D\ntype: raw\nfrequency: 38000\n"
                                       "data: 500 0 500\n"                           // 18
                                       "name: E\ntype: raw\ndata: 500\n"             // 22
                                       "name: F\ntype: mixed\n"                      // 25
                                       "name: G\ntype: raw\nfrequency: 0\ndata: 5\n" // 27
                                       "name: H\ntype: raw\nfrequency: 38000\n"
                                       "duty_cycle: 2.5\ndata: 5\n" // 31
                                       "name: I\nfoo: bar\n");      // 36
    EXPECT_TRUE(f.accepted.empty());
    EXPECT_EQ(Reasons(f),
              "line 3: A: address 0x100 is wider than the protocol carries (at most 0xFF)\n"
              "line 8: B: protocol 'Sony' is not one of NEC, NECext, NEC42, Samsung32, SIRC, "
              "SIRC15, SIRC20, Kaseikyo, RC5, RC5X, RC6, Pioneer\n"
              "line 16: C: '0100 00 00' is not four hexadecimal bytes\n"
              "line 21: D: a space of 0 \xC2\xB5s: durations must be at least 1 \xC2\xB5s\n"
              "line 22: E: a raw signal needs a 'frequency' line\n"
              "line 26: F: type 'mixed' is neither raw nor parsed\n"
              "line 29: G: the carrier is 0 Hz; the board learns only modulated signals\n"
              "line 34: H: '2.5' is not a duty cycle between 0 and 1\n"
              "line 37: I: unknown field 'foo'\n");

    EXPECT_EQ(Reasons(ReadFlipperIr("name: A\n")),
              "line 1: not a Flipper IR file: it must begin with 'Filetype: IR signals file'\n");
    EXPECT_EQ(Reasons(ReadFlipperIr("Filetype: IR signals file\nVersion: 2\n")),
              "line 2: only version 1 of the Flipper IR format is known\n");
}

TEST(Flipper, WrittenAsRawSignals) {
    const ExportedSignal s{4, "", 36700, {}, {3456, 1728, 432, 74000}};
    EXPECT_EQ(WriteFlipperIr({s}), "Filetype: IR signals file\nVersion: 1\n#\n"
                                   "name: Row_4\ntype: raw\nfrequency: 36700\n"
                                   "duty_cycle: 0.330000\ndata: 3456 1728 432 74000\n");
}

TEST(Lirc, OneRemotePerCarrierCodesEndingWithAPulse) {
    const std::vector<ExportedSignal> signals = {
        {1, "TV power", 38000, {}, {9000, 4500, 560, 40000}},
        {2, "\xE9\x9F\xB3\xE9\x87\x8F", 36000, {}, {889, 889, 889, 90000}}, // "音量"
        {3, "TV power", 38000, {}, {560, 560, 560, 30000}},
    };
    EXPECT_EQ(WriteLircConf(signals),
              "# Raw codes exported from a QUVAN learning table.\n"
              "\nbegin remote\n"
              "  name       quvan_36_0kHz\n  flags      RAW_CODES\n  eps        30\n"
              "  aeps       100\n  frequency  36000\n  gap        90000\n"
              "\n  begin raw_codes\n"
              "\n    name ROW_002\n          889     889     889\n"
              "\n  end raw_codes\n\nend remote\n"
              "\nbegin remote\n"
              "  name       quvan_38_0kHz\n  flags      RAW_CODES\n  eps        30\n"
              "  aeps       100\n  frequency  38000\n  gap        40000\n"
              "\n  begin raw_codes\n"
              "\n    name TV_power\n         9000    4500     560\n"
              "\n    name TV_power_ROW_003\n          560     560     560\n"
              "\n  end raw_codes\n\nend remote\n");
}

TEST(Formats, NamesAndGuessing) {
    EXPECT_EQ(ParseFormatName("Pulse-Space"), SignalFormat::PulseSpace);
    EXPECT_FALSE(ParseFormatName("ict").has_value());
    EXPECT_FALSE(CanRead(SignalFormat::Lirc));
    EXPECT_FALSE(CanWrite(SignalFormat::PulseSpace));
    EXPECT_EQ(GuessFormat("# x\nFiletype: IR signals file\n"), SignalFormat::Flipper);
    EXPECT_EQ(GuessFormat("space 100\npulse 5\n"), SignalFormat::PulseSpace);
    EXPECT_EQ(GuessFormat("name: A\n0000 006D 0000 0001 0015 0040\n"), SignalFormat::Pronto);
    EXPECT_EQ(GuessFormat("+9000 -4500\n"), SignalFormat::Raw);
    EXPECT_EQ(ParseCarrierHz("36.7 kHz"), 36700);
    EXPECT_EQ(ParseCarrierHz("38"), 38000);
    EXPECT_EQ(ParseCarrierHz("38000Hz"), 38000);
    EXPECT_FALSE(ParseCarrierHz("38k").has_value());
}

} // namespace
} // namespace quvan::exchange
