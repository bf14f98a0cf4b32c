#include "app/FileRefusal.h"

#include "forms/MessageBoxStyle.h"
#include "forms/Services.h"

using namespace Qt::StringLiterals;

namespace tivora {

QString fileRefusalPrompt(const CommandLine& commandLine) {
    switch (commandLine.fileRefusal) {
        case CommandLine::FileRefusal::Missing:
            return u"找不到要播放的文件：\n"_s + commandLine.refusedFile;
        case CommandLine::FileRefusal::Unreadable:
            return u"无法读取要播放的文件：\n"_s + commandLine.refusedFile;
        case CommandLine::FileRefusal::None:
            break;
    }
    return {};
}

void tellFileRefusal(Services& services, const CommandLine& commandLine) {
    const QString prompt = fileRefusalPrompt(commandLine);
    if (!prompt.isEmpty()) {
        services.messageBox(prompt, MsgBox::OkOnly + MsgBox::Exclamation,
                            messageBoxTitle(QString()));
    }
}

}  // namespace tivora
