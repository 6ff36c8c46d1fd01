#include "resources/MainMenu.h"

#include <QCoreApplication>

#include "platform/framework/Translate.h"
#include "resources/CommandIds.h"

namespace resources {

using framework::MenuItem;

namespace {

std::vector<MenuItem> BuildMainMenu() {
    const auto cmd = [](framework::CommandId id, const char* text) {
        return MenuItem::Command(id, framework::Tr(text));
    };
    const MenuItem separator = MenuItem::Separator();

    MenuItem file = MenuItem::Popup(
        QCoreApplication::translate("Pavrix", "File(&F)"),
        {cmd(ids::FileNew, QT_TRANSLATE_NOOP("Pavrix", "新規作成(&N)\tCtrl+N")),
         cmd(ids::FileOpen, QT_TRANSLATE_NOOP("Pavrix", "開く(&O)...\tCtrl+O")),
         cmd(ids::FileSave, QT_TRANSLATE_NOOP("Pavrix", "上書き保存(&S)\tCtrl+S")),
         cmd(ids::FileSaveAs, QT_TRANSLATE_NOOP("Pavrix", "名前を付けて保存(&A)...")),
         cmd(ids::FileExport, QT_TRANSLATE_NOOP("Pavrix", "エクスポート(&E)...")), separator,
         cmd(ids::InsertCharacter, QT_TRANSLATE_NOOP("Pavrix", "別ｷｬﾗｸﾀｰを挿入(&I)...")), separator,
         cmd(ids::ChangeModel, QT_TRANSLATE_NOOP("Pavrix", "ﾓﾃﾞﾙの変更(&M)")),
         cmd(ids::ChangeAnimation, QT_TRANSLATE_NOOP("Pavrix", "ｱﾆﾒｰｼｮﾝの変更(&Z)")), separator,
         MenuItem::Command(ids::FileMruFirst, QCoreApplication::translate("Pavrix", "最新のﾌｧｲﾙ"),
                           true),
         separator, cmd(ids::AppExit, QT_TRANSLATE_NOOP("Pavrix", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"))});

    MenuItem edit = MenuItem::Popup(
        QCoreApplication::translate("Pavrix", "Edit(&E)"),
        {cmd(ids::EditUndo, QT_TRANSLATE_NOOP("Pavrix", "元に戻す(&U)\tCtrl+Z")),
         cmd(ids::EditRedo, QT_TRANSLATE_NOOP("Pavrix", "やり直し(&R)\tCtrl+Y")), separator,
         cmd(ids::EditCut, QT_TRANSLATE_NOOP("Pavrix", "切り取り(&T)\tCtrl+X")),
         cmd(ids::EditCopy, QT_TRANSLATE_NOOP("Pavrix", "ｺﾋﾟｰ(&C)\tCtrl+C")),
         cmd(ids::EditPaste, QT_TRANSLATE_NOOP("Pavrix", "貼り付け(&P)\tCtrl+V"))});

    MenuItem driver = MenuItem::Popup(
        QCoreApplication::translate("Pavrix", "Driver(&D)"),
        {cmd(ids::DriverRgbEmulation, QT_TRANSLATE_NOOP("Pavrix", "RGB/MMX Emulation")),
         cmd(ids::DriverDirect3DHal, QT_TRANSLATE_NOOP("Pavrix", "Direct3D HAL")), separator,
         cmd(ids::DriverUseVideoMemory, QT_TRANSLATE_NOOP("Pavrix", "Use VideoMemory"))});
    MenuItem renderer = MenuItem::Popup(
        QCoreApplication::translate("Pavrix", "Renderer(&R)"),
        {cmd(ids::RenderLighting, QT_TRANSLATE_NOOP("Pavrix", "Lighting")), separator,
         cmd(ids::RenderPoints, QT_TRANSLATE_NOOP("Pavrix", "Points")),
         cmd(ids::RenderWireframe, QT_TRANSLATE_NOOP("Pavrix", "Wireframe")),
         cmd(ids::RenderSolid, QT_TRANSLATE_NOOP("Pavrix", "Solid")), separator,
         cmd(ids::RenderFlat, QT_TRANSLATE_NOOP("Pavrix", "Flat")),
         cmd(ids::RenderGouraud, QT_TRANSLATE_NOOP("Pavrix", "Gouraud")), separator,
         cmd(ids::RenderDithered, QT_TRANSLATE_NOOP("Pavrix", "Dithered")),
         cmd(ids::RenderTextureFiltering, QT_TRANSLATE_NOOP("Pavrix", "Texture Filtering"))});
    MenuItem projection = MenuItem::Popup(
        QCoreApplication::translate("Pavrix", "Projection(&P)"),
        {cmd(ids::ProjectionPerspective, QT_TRANSLATE_NOOP("Pavrix", "Perspective")),
         cmd(ids::ProjectionOrthographic, QT_TRANSLATE_NOOP("Pavrix", "Orthographic"))});
    MenuItem zbuffer = MenuItem::Popup(QCoreApplication::translate("Pavrix", "ZBuffer(&Z)"),
                                       {cmd(ids::ZBufferOn, QT_TRANSLATE_NOOP("Pavrix", "On")),
                                        cmd(ids::ZBufferOff, QT_TRANSLATE_NOOP("Pavrix", "Off"))});
    // Each language under its own name, in every language, so that it is found by whoever
    // reads it.
    MenuItem language =
        MenuItem::Popup(QCoreApplication::translate("Pavrix", "言語 (Language)(&G)"),
                        {MenuItem::Command(ids::ViewLanguageJapanese, QStringLiteral("日本語")),
                         MenuItem::Command(ids::ViewLanguageEnglish, QStringLiteral("English"))});
    MenuItem view = MenuItem::Popup(
        QCoreApplication::translate("Pavrix", "View(&V)"),
        {driver, renderer, projection, zbuffer, separator,
         cmd(ids::ViewFrameAll, QT_TRANSLATE_NOOP("Pavrix", "ﾓﾃﾞﾙ全体を表示(&W)\tHome")), separator,
         cmd(ids::ViewToolBar, QT_TRANSLATE_NOOP("Pavrix", "ﾂｰﾙ ﾊﾞｰ(&T)")),
         cmd(ids::ViewTimeline, QT_TRANSLATE_NOOP("Pavrix", "ﾀｲﾑﾗｲﾝ(&L)")), separator, language});

    MenuItem help =
        MenuItem::Popup(QCoreApplication::translate("Pavrix", "Help(&H)"),
                        {cmd(ids::Manual, QT_TRANSLATE_NOOP("Pavrix", "簡易説明書(&H)")), separator,
                         cmd(ids::AppAbout, QT_TRANSLATE_NOOP("Pavrix", "ﾊﾞｰｼﾞｮﾝ情報 (&A)..."))});

    return {file, edit, view, help};
}

} // namespace

const std::vector<MenuItem>& MainMenu() {
    static std::map<QString, std::vector<MenuItem>> menus;
    return framework::ForTextLanguage(menus, BuildMainMenu);
}

} // namespace resources
