#include "link/line_dispatcher.h"

namespace quvan::link {
namespace {

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

} // namespace

bool IsVersionLine(std::string_view text) {
    return Contains(text, "QUVAN-Pro") || Contains(text, "QUVAN-ARM");
}

Route LineDispatcher::dispatch(const std::string& text) {
    const DispatchState state = handlers_.dispatchState();
    const std::string_view view(text);

    if (state.firmwareDialogVisible) {
        handlers_.HandleLoaderLine(text);
        return Route::Loader;
    }
    if (view.starts_with("[")) {
        handlers_.HandleWaveLine(text);
        return Route::Wave;
    }
    if (view.starts_with("Ave.")) {
        handlers_.HandleAnalysisLine(text);
        return Route::Analysis;
    }
    if (view.starts_with("IrEND:")) {
        handlers_.appendLog(text);
        handlers_.SetIrAck(Contains(view, "ACK(0x06)"));
        return Route::IrEnd;
    }
    if (state.portSearchActive || !state.startupDone) {
        if (IsVersionLine(view)) {
            setResponseFlag_();
            handlers_.RecordBoardVersion(text);
            return Route::VersionReply;
        }
        // The board's answer to "ZEM:off" ends the start-up wait at once
        // instead of letting it run to its limit.
        if (!state.startupDone && Contains(view, "ZEM:off")) {
            setResponseFlag_();
            return Route::StartupReply;
        }
        return Route::StartupDropped;
    }
    if (view == "Trans Mode") {
        setResponseFlag_();
        handlers_.SetLearningIndicator(false);
        return Route::TransMode;
    }
    if (view == "Analyze Mode") {
        handlers_.SetLearningIndicator(true);
        return Route::AnalyzeMode;
    }
    if (state.registerDialogVisible && view == "ACK") {
        setResponseFlag_();
        return Route::RegisterAck;
    }
    if (state.readBackRunning) {
        handlers_.HandleReadBackLine(text);
        return Route::ReadBack;
    }
    if (view.starts_with("Lend:")) {
        if (!state.waveDataPanelVisible) {
            return Route::LendDropped;
        }
        handlers_.appendLog(text);
        return Route::LendLogged;
    }
    if (Contains(view, "QUVAN-Loader")) {
        if (!state.monitorMode) {
            return Route::LoaderBannerDropped;
        }
        handlers_.appendLog(text);
        return Route::LoaderBannerLogged;
    }
    if (state.dipSwitchDialogVisible) {
        handlers_.HandleDswReply(text);
        return Route::DipSwitch;
    }
    if (handlers_.logLineCount() > kLogLineLimit) {
        handlers_.clearLog();
    }
    handlers_.appendLog(text);
    if (IsVersionLine(view)) {
        setResponseFlag_();
        handlers_.RecordBoardVersion(text);
    }
    return Route::Logged;
}

} // namespace quvan::link
