#include "resources/MainMenu.h"

#include "resources/CommandIds.h"

namespace resources {

using framework::MenuItem;

namespace {

std::vector<MenuItem> BuildMainMenu() {
    const auto cmd = [](framework::CommandId id, const char* text) {
        return MenuItem::Command(id, QString::fromUtf8(text));
    };
    const MenuItem separator = MenuItem::Separator();

    MenuItem file = MenuItem::Popup(
        QStringLiteral("File(&F)"),
        {cmd(ids::FileNew, "新規作成(&N)\tCtrl+N"), cmd(ids::FileOpen, "開く(&O)...\tCtrl+O"),
         cmd(ids::FileSave, "上書き保存(&S)\tCtrl+S"),
         cmd(ids::FileSaveAs, "名前を付けて保存(&A)..."),
         cmd(ids::FileExport, "エクスポート(&E)..."), separator,
         cmd(ids::InsertCharacter, "別ｷｬﾗｸﾀｰを挿入(&I)..."), separator,
         cmd(ids::ChangeModel, "ﾓﾃﾞﾙの変更(&M)"), cmd(ids::ChangeAnimation, "ｱﾆﾒｰｼｮﾝの変更(&Z)"),
         separator, MenuItem::Command(ids::FileMruFirst, QStringLiteral("最新のﾌｧｲﾙ"), true),
         separator, cmd(ids::AppExit, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)")});

    MenuItem edit = MenuItem::Popup(
        QStringLiteral("Edit(&E)"),
        {cmd(ids::EditUndo, "元に戻す(&U)\tCtrl+Z"), cmd(ids::EditRedo, "やり直し(&R)\tCtrl+Y"),
         separator, cmd(ids::EditCut, "切り取り(&T)\tCtrl+X"),
         cmd(ids::EditCopy, "ｺﾋﾟｰ(&C)\tCtrl+C"), cmd(ids::EditPaste, "貼り付け(&P)\tCtrl+V"),
         separator, cmd(ids::DeletePartsKeyFrame, "ﾊﾟｰﾂのｷｰを削除"),
         cmd(ids::CopyPartsKeyFrame, "ﾊﾟｰﾂのｷｰをｺﾋﾟｰ"),
         cmd(ids::PastePartsKeyFrame, "ﾊﾟｰﾂのｷｰを貼り付け"),
         cmd(ids::DeletePositionKey, "ﾊﾟｰﾂのﾎﾟｼﾞｼｮﾝｷｰを削除"), separator,
         cmd(ids::SelectParts, "ﾊﾟｰﾂの選択(&L)..."),
         cmd(ids::ReverseRotatePositionScale, "ｱﾆﾒｰｼｮﾝを反転")});

    MenuItem driver = MenuItem::Popup(QStringLiteral("Driver(&D)"),
                                      {cmd(ids::DriverRgbEmulation, "RGB/MMX Emulation"),
                                       cmd(ids::DriverDirect3DHal, "Direct3D HAL"), separator,
                                       cmd(ids::DriverUseVideoMemory, "Use VideoMemory")});
    MenuItem renderer = MenuItem::Popup(
        QStringLiteral("Renderer(&R)"),
        {cmd(ids::RenderLighting, "Lighting"), separator, cmd(ids::RenderPoints, "Points"),
         cmd(ids::RenderWireframe, "Wireframe"), cmd(ids::RenderSolid, "Solid"), separator,
         cmd(ids::RenderFlat, "Flat"), cmd(ids::RenderGouraud, "Gouraud"),
         cmd(ids::RenderPhong, "Phong"), separator, cmd(ids::RenderDithered, "Dithered"),
         cmd(ids::RenderTextureFiltering, "Texture Filtering")});
    MenuItem projection = MenuItem::Popup(QStringLiteral("Projection(&P)"),
                                          {cmd(ids::ProjectionPerspective, "Perspective"),
                                           cmd(ids::ProjectionOrthographic, "Orthographic")});
    MenuItem zbuffer = MenuItem::Popup(QStringLiteral("ZBuffer(&Z)"),
                                       {cmd(ids::ZBufferOn, "On"), cmd(ids::ZBufferOff, "Off")});
    MenuItem view = MenuItem::Popup(
        QStringLiteral("View(&V)"),
        {driver, renderer, projection, zbuffer, separator,
         cmd(ids::ViewFrameAll, "ﾓﾃﾞﾙ全体を表示(&W)\tHome"),
         cmd(ids::FourPaneView, "４分割表示(&4)"), cmd(ids::ViewOnionSkin, "ｵﾆｵﾝｽｷﾝ(&O)"),
         separator, cmd(ids::ViewToolBar, "ﾂｰﾙ ﾊﾞｰ(&T)"), cmd(ids::ViewTimeline, "ﾀｲﾑﾗｲﾝ(&L)")});

    MenuItem help =
        MenuItem::Popup(QStringLiteral("Help(&H)"), {cmd(ids::Manual, "簡易説明書(&H)"), separator,
                                                     cmd(ids::AppAbout, "ﾊﾞｰｼﾞｮﾝ情報 (&A)...")});

    return {file, edit, view, help};
}

} // namespace

const std::vector<MenuItem>& MainMenu() {
    static const std::vector<MenuItem> menu = BuildMainMenu();
    return menu;
}

} // namespace resources
