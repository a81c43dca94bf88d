#include "shell/Help.h"

#include "catalogue/UiLanguage.h"
#include "skin/Prompts.h"
#include "skin/SkinResources.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

QString HelpManualPath(const std::string& language) {
    const QString page =
        IsEnglishUi(language) ? QStringLiteral("index.html") : QStringLiteral("index.zh-CN.html");
    return CSkinResources::DataFile(QStringLiteral("manual/") + page);
}

void OpenHelp(QWidget* owner, const std::string& language) {
    const QString path = HelpManualPath(language);
    if (!QFileInfo(path).isFile()) {
        ShowMessage(owner, UiText(language, "找不到用户手册：\n%1", "The user manual is missing:\n%1")
                               .arg(QDir::toNativeSeparators(path)));
        return;
    }
    const CPrompts& prompts = Prompts();
    if (!prompts.OpenUrl || !prompts.OpenUrl(QUrl::fromLocalFile(path))) {
        ShowMessage(owner,
                    UiText(language, "无法打开用户手册：\n%1", "The user manual could not be opened:\n%1")
                        .arg(QDir::toNativeSeparators(path)));
    }
}
