#include "resources/Strings.h"

#include "resources/CommandIds.h"
#include "resources/ResourceIds.h"

namespace resources {

namespace {

// Prompt and tool tip the same text, as the View menu's commands have them.
QString Same(const char* text) {
    const QString field = QString::fromUtf8(text);
    return field + QLatin1Char('\n') + field;
}

QString Two(const char* prompt, const char* toolTip) {
    return QString::fromUtf8(prompt) + QLatin1Char('\n') + QString::fromUtf8(toolTip);
}

framework::StringTable BuildStrings() {
    framework::StringTable table;
    table.Set(ids::AppTitleString, AppTitle());
    table.Set(res::MainFrame, DocumentString());

    // The framework's commands.
    table.Set(ids::FileNew, Two("新しいファイルを作成します", "新規作成"));
    table.Set(ids::FileOpen, Two("既存のファイルを開きます", "開く"));
    table.Set(ids::FileSave, Two("ファイルを上書き保存します", "上書き保存"));
    table.Set(ids::FileSaveAs, Two("ファイルに名前を付けて保存します", "名前を付けて保存"));
    table.Set(ids::FileMruFirst, QStringLiteral("このファイルを開きます"));
    table.Set(ids::EditCopy, Two("選択範囲をコピーします", "コピー"));
    table.Set(ids::EditCut, Two("選択範囲を切り取ります", "切り取り"));
    table.Set(ids::EditPaste, Two("クリップボードの内容を貼り付けます", "貼り付け"));
    table.Set(ids::EditUndo, Two("直前の操作を元に戻します", "元に戻す"));
    table.Set(ids::EditRedo, Two("元に戻した操作をやり直します", "やり直し"));
    table.Set(ids::AppAbout, Two("バージョン情報を表示します", "バージョン情報"));
    table.Set(ids::AppExit, Two("アプリケーションを終了します", "終了"));
    table.Set(ids::NextPane, Two("次の区画へ移ります", "次の区画"));
    table.Set(ids::PrevPane, Two("前の区画へ戻ります", "前の区画"));
    table.Set(ids::ViewToolBar, Two("ツール バーの表示と非表示を切り替えます", "ツール バー"));

    // The program's commands.
    table.Set(ids::ViewTimeline, Two("タイムラインの表示と非表示を切り替えます", "タイムライン"));
    table.Set(ids::ViewFrameAll, Two("Frame Whole Model", "モデル全体を表示"));
    table.Set(ids::FileExport,
              Two("キャラクターを glTF 2.0 ファイル (.glb, .gltf) に書き出します", "エクスポート"));
    table.Set(ids::DriverRgbEmulation, Same("RGB/MMX Emulation"));
    table.Set(ids::DriverDirect3DHal, Same("Direct3D HAL"));
    table.Set(ids::RenderDithered, Same("Dithered"));
    table.Set(ids::RenderLighting, Same("Lighting"));
    table.Set(ids::RenderPoints, Same("Points"));
    table.Set(ids::RenderWireframe, Same("Wireframe"));
    table.Set(ids::RenderSolid, Same("Solid"));
    table.Set(ids::RenderFlat, Same("Flat"));
    table.Set(ids::RenderGouraud, Same("Gouraud"));
    table.Set(ids::RenderTextureFiltering, Same("Texture Filtering"));
    table.Set(ids::DriverUseVideoMemory, Same("Use VideoMemory"));
    table.Set(ids::KeyFrameLeft, Two("KeyFrame Left", "ひとつ前のキーへ"));
    table.Set(ids::KeyFrameRight, Two("KeyFrame right", "ひとつ先のキーへ"));
    table.Set(ids::StopAnimation, Two("Stop Animation", "停止"));
    table.Set(ids::PlayAnimation, Two("Play Animation", "再生"));
    table.Set(ids::EditPartsAnimationKey,
              Two("Edit...Parts Animation Key", "パーツのアニメーション情報"));
    table.Set(ids::AnimationForwardStep, Two("Animation Forward Step", "１進める"));
    table.Set(ids::AnimationBackStep, Two("Animation Back Step", "１戻す"));
    table.Set(ids::AddKeyFrame, Two("Add Key Frame", "パーツにキーを追加"));
    table.Set(ids::DeleteKeyFrame, Two("Delete Key Frame", "現在のキーを削除"));
    table.Set(ids::AddLastKeyFrame, Two("Add Last Key Frame", "アニメーションの最後にキーを追加"));
    table.Set(ids::CopyKeyFrame, Two("Copy Key Frame", "現在のキーをコピー"));
    table.Set(ids::PasteKeyFrame, Two("Paste Key Frame", "現在のキーへ、ペースト"));
    table.Set(ids::ProjectionPerspective, Same("Perspective"));
    table.Set(ids::ProjectionOrthographic, Same("Orthographic"));
    table.Set(ids::ZBufferOn, Same("ZBuffer On"));
    table.Set(ids::ZBufferOff, Same("ZBuffer Off"));
    table.Set(ids::InsertCharacter, Two("ｼｰﾝに挿入", "挿入"));
    table.Set(ids::AnimationPlayAll, Two("Animation Play All", "すべてのアニメーションの再生"));
    table.Set(ids::ChangeAnimation, Two("ｱﾆﾒｰｼｮﾝをﾛｰﾄﾞして変更", "ｱﾆﾒｰｼｮﾝの変更"));
    table.Set(ids::ChangeModel, Two("ﾓﾃﾞﾙをﾛｰﾄﾞして変更", "ﾓﾃﾞﾙの変更"));
    table.Set(ids::ChangeModelScale, Two("Change Model Scale", "モデルの大きさを変更"));
    table.Set(ids::DeleteAllPositionKey,
              Two("Delete All Position Key", "ポジションキーをすべて削除"));
    table.Set(ids::ChangeAllPositionKeyScale,
              Two("Change All Position Key Scale", "ポジションキーの移動サイズの変更"));
    table.Set(ids::AnimationLast, Two("Animation Last", "最後へ"));
    table.Set(ids::AnimationFirst, Two("Animation First", "最初へ"));
    table.Set(ids::ChangeAnimationPace,
              Two("Change Animation Pace", "アニメーションのペースを変更"));
    table.Set(ids::SkinOn, Two("Skin On", "スキン処理を行う"));
    table.Set(ids::ResetOrientation, Two("Reset Orientation", "姿勢をリセット"));
    table.Set(ids::MoveFirstKeyTimeZero,
              Two("Move First Key Time Zero", "先頭のキーが0になるよう、すべてのキーを移動"));
    table.Set(ids::Manual, Same("簡易ﾏﾆｭｱﾙ"));
    table.Set(ids::ViewOnionSkin, Two("Onion Skin", "前後のキーの姿を半透明で表示"));

    // Strings of the identifiers the first version left without a handler. 32827 has none
    // and stays unhandled; 32828 is a status-line prompt only, so it gives no tool tip.
    table.Set(ids::RenderPhong, Same("Phong"));
    table.Set(ids::FourPaneView, Same("４分割表示"));
    table.Set(ids::AnimationAllPlay, Same("Animation All Play"));
    table.Set(ids::DeletePositionKey, Same("Delete Position Key"));
    table.Set(ids::SetParent, Same("Set Parent"));
    table.Set(ids::SetChild, Same("Set Child"));
    table.Set(ids::SelectParts, Same("Select Parts"));
    table.Set(ids::SkinOnStatus, QStringLiteral("Skin On"));
    table.Set(ids::DeletePartsKeyFrame, Same("Delete Parts Key Frame"));
    table.Set(ids::CopyPartsKeyFrame, Same("Copy Parts Key Frame"));
    table.Set(ids::PastePartsKeyFrame, Same("Paste Parts Key Frame"));
    table.Set(ids::ReverseRotatePositionScale, Same("Reverse Rotate, Position, Scale"));
    return table;
}

} // namespace

QString AppTitle() {
    return QStringLiteral("Pavrix / Prototype");
}

QString DocumentString() {
    return QStringLiteral("Pavrix\n\nPX\nX ﾌｧｲﾙ (*.x)\n.x\nX.Document\nX Document");
}

const framework::StringTable& Strings() {
    static const framework::StringTable table = BuildStrings();
    return table;
}

} // namespace resources
