#include "link/port_advice.h"

#include <QCoreApplication>

namespace quvan::link {
namespace {

// The texts' context in the catalogue.
struct PortAdvice {
    Q_DECLARE_TR_FUNCTIONS(PortAdvice)
};

QString PathOf(const platform::OpenError& error) {
    return QString::fromStdString(error.path);
}

} // namespace

QString OpenFailureSummary(const platform::OpenError& error) {
    switch (error.kind) {
    case platform::OpenFailure::PermissionDenied:
        return PortAdvice::tr("%1 を開く権限がありません。").arg(PathOf(error));
    case platform::OpenFailure::InUse:
        return PortAdvice::tr("%1 は他のプログラムが使用中です。").arg(PathOf(error));
    default:
        return {};
    }
}

QString OpenFailureAdvice(const platform::OpenError& error) {
    const QString summary = OpenFailureSummary(error);
    if (error.kind == platform::OpenFailure::InUse) {
        return summary + "\n" + PortAdvice::tr("そのプログラムを終了してから、もう一度試して下さい。");
    }
    if (error.kind != platform::OpenFailure::PermissionDenied) {
        return summary;
    }
    const QString group = QString::fromStdString(error.deviceGroup);
    if (group.isEmpty()) {
        // No group may use the device: only root, or whoever a local rule names.
        return summary + "\n" +
               PortAdvice::tr("このデバイスは管理者 (root) しか使えない設定です。アクセス権を確認して下さい:\n"
                  "    ls -l %1")
                   .arg(PathOf(error));
    }
    if (error.groupJoinPending) {
        return summary + "\n" +
               PortAdvice::tr("このユーザーは %1 グループに追加済みですが、まだ反映されていません。\n"
                  "ログアウトしてから、もう一度ログインして下さい。")
                   .arg(group);
    }
    return summary + "\n" +
           PortAdvice::tr("このユーザーは %1 グループに入っていません。次のコマンドで加えてから、\n"
              "ログアウトして、もう一度ログインして下さい:\n"
              "    sudo adduser $USER %1")
               .arg(group);
}

QString NoBoardAdvice(const BoardLink& link) {
    const std::optional<platform::OpenError>& refusal = link.permissionRefusal();
    return refusal ? OpenFailureAdvice(*refusal) : QString();
}

QString WithAdvice(const QString& message, const QString& advice) {
    return advice.isEmpty() ? message : message + "\n" + advice;
}

QString RefusedPortLabel(const std::string& name, const platform::OpenError& error) {
    const QString port = QString::fromStdString(name);
    switch (error.kind) {
    case platform::OpenFailure::PermissionDenied:
        return PortAdvice::tr("%1 (アクセス権なし)").arg(port);
    case platform::OpenFailure::InUse:
        return PortAdvice::tr("%1 (使用中)").arg(port);
    default:
        return port;
    }
}

} // namespace quvan::link
