// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/icons.h"

#include "dialogs/svg_icon_engine.h"

// The resource lives in a static library, so it is registered by hand (outside any namespace).
static void RegisterIconPictures()
{
    Q_INIT_RESOURCE(icons);
}

namespace lumetta {

IconNames NamesOf(IconId id)
{
    switch (id) {
    case IconId::App:
        return {"lumetta", ":/icons/lumetta.svg"};
    case IconId::Play:
        return {"media-playback-start", ":/icons/play.svg"};
    case IconId::NewProject:
        return {"document-new", ":/icons/new-project.svg"};
    case IconId::Open:
        return {"document-open", ":/icons/open.svg"};
    case IconId::Save:
        return {"document-save", ":/icons/save.svg"};
    case IconId::SaveAs:
        return {"document-save-as", ":/icons/save-as.svg"};
    case IconId::Options:
        return {"preferences-system", ":/icons/options.svg"};
    case IconId::Help:
        return {"help-contents", ":/icons/help.svg"};
    case IconId::Exit:
        return {"application-exit", ":/icons/exit.svg"};
    case IconId::Add:
        return {"list-add", ":/icons/add.svg"};
    case IconId::AddAll:
        return {"insert-image", ":/icons/add-all.svg"};
    case IconId::Remove:
        return {"list-remove", ":/icons/remove.svg"};
    case IconId::Clear:
        return {"edit-clear", ":/icons/clear.svg"};
    case IconId::Preview:
        return {"image-x-generic", ":/icons/preview.svg"};
    case IconId::FolderUp:
        return {"go-up", ":/icons/folder-up.svg"};
    case IconId::Music:
        return {"audio-x-generic", ":/icons/music.svg"};
    case IconId::About:
        return {"help-about", ":/icons/about.svg"};
    case IconId::MakeShow:
        return {"video-display", ":/icons/make-show.svg"};
    case IconId::ExportVideo:
        return {"video-x-generic", ":/icons/export-video.svg"};
    }
    return {"", ""};
}

QIcon MakeIcon(IconId id)
{
    static const bool kRegistered = (RegisterIconPictures(), true);
    Q_UNUSED(kRegistered);
    const IconNames names = NamesOf(id);
    return QIcon::fromTheme(QLatin1String(names.themeName), QIcon(new SvgIconEngine(QLatin1String(names.fallback))));
}

}  // namespace lumetta
