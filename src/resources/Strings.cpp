#include "resources/Strings.h"

#include <QCoreApplication>

#include "platform/framework/Translate.h"
#include "resources/CommandIds.h"
#include "resources/ResourceIds.h"

namespace resources {

namespace {

// Prompt and tool tip the same text, as the View menu's commands have them.
QString Same(const char* text) {
    const QString field = framework::Tr(text);
    return field + QLatin1Char('\n') + field;
}

QString Two(const char* prompt, const char* toolTip) {
    return framework::Tr(prompt) + QLatin1Char('\n') + framework::Tr(toolTip);
}

framework::StringTable BuildStrings() {
    framework::StringTable table;
    table.Set(ids::AppTitleString, AppTitle());
    table.Set(res::MainFrame, DocumentString());

    // The framework's commands.
    table.Set(ids::FileNew, Two(QT_TRANSLATE_NOOP("Pavrix", "新しいファイルを作成します"),
                                QT_TRANSLATE_NOOP("Pavrix", "新規作成")));
    table.Set(ids::FileOpen, Two(QT_TRANSLATE_NOOP("Pavrix", "既存のファイルを開きます"),
                                 QT_TRANSLATE_NOOP("Pavrix", "開く")));
    table.Set(ids::FileSave, Two(QT_TRANSLATE_NOOP("Pavrix", "ファイルを上書き保存します"),
                                 QT_TRANSLATE_NOOP("Pavrix", "上書き保存")));
    table.Set(ids::FileSaveAs, Two(QT_TRANSLATE_NOOP("Pavrix", "ファイルに名前を付けて保存します"),
                                   QT_TRANSLATE_NOOP("Pavrix", "名前を付けて保存")));
    table.Set(ids::FileMruFirst,
              framework::Tr(QT_TRANSLATE_NOOP("Pavrix", "このファイルを開きます")));
    table.Set(ids::EditCopy, Two(QT_TRANSLATE_NOOP("Pavrix", "選択範囲をコピーします"),
                                 QT_TRANSLATE_NOOP("Pavrix", "コピー")));
    table.Set(ids::EditCut, Two(QT_TRANSLATE_NOOP("Pavrix", "選択範囲を切り取ります"),
                                QT_TRANSLATE_NOOP("Pavrix", "切り取り")));
    table.Set(ids::EditPaste, Two(QT_TRANSLATE_NOOP("Pavrix", "クリップボードの内容を貼り付けます"),
                                  QT_TRANSLATE_NOOP("Pavrix", "貼り付け")));
    table.Set(ids::EditUndo, Two(QT_TRANSLATE_NOOP("Pavrix", "直前の操作を元に戻します"),
                                 QT_TRANSLATE_NOOP("Pavrix", "元に戻す")));
    table.Set(ids::EditRedo, Two(QT_TRANSLATE_NOOP("Pavrix", "元に戻した操作をやり直します"),
                                 QT_TRANSLATE_NOOP("Pavrix", "やり直し")));
    table.Set(ids::AppAbout, Two(QT_TRANSLATE_NOOP("Pavrix", "バージョン情報を表示します"),
                                 QT_TRANSLATE_NOOP("Pavrix", "バージョン情報")));
    table.Set(ids::AppExit, Two(QT_TRANSLATE_NOOP("Pavrix", "アプリケーションを終了します"),
                                QT_TRANSLATE_NOOP("Pavrix", "終了")));
    table.Set(ids::NextPane, Two(QT_TRANSLATE_NOOP("Pavrix", "次の区画へ移ります"),
                                 QT_TRANSLATE_NOOP("Pavrix", "次の区画")));
    table.Set(ids::PrevPane, Two(QT_TRANSLATE_NOOP("Pavrix", "前の区画へ戻ります"),
                                 QT_TRANSLATE_NOOP("Pavrix", "前の区画")));
    table.Set(ids::ViewToolBar,
              Two(QT_TRANSLATE_NOOP("Pavrix", "ツール バーの表示と非表示を切り替えます"),
                  QT_TRANSLATE_NOOP("Pavrix", "ツール バー")));

    // The program's commands.
    table.Set(ids::ViewTimeline,
              Two(QT_TRANSLATE_NOOP("Pavrix", "タイムラインの表示と非表示を切り替えます"),
                  QT_TRANSLATE_NOOP("Pavrix", "タイムライン")));
    table.Set(ids::ViewFrameAll, Two(QT_TRANSLATE_NOOP("Pavrix", "Frame Whole Model"),
                                     QT_TRANSLATE_NOOP("Pavrix", "モデル全体を表示")));
    table.Set(ids::ViewLanguageJapanese,
              Two(QT_TRANSLATE_NOOP("Pavrix", "画面の言語を日本語にします (次回の起動から)"),
                  QT_TRANSLATE_NOOP("Pavrix", "日本語")));
    table.Set(ids::ViewLanguageEnglish,
              Two(QT_TRANSLATE_NOOP("Pavrix", "画面の言語を英語にします (次回の起動から)"),
                  QT_TRANSLATE_NOOP("Pavrix", "英語")));
    table.Set(ids::FileExport,
              Two(QT_TRANSLATE_NOOP(
                      "Pavrix", "キャラクターを glTF 2.0 ファイル (.glb, .gltf) に書き出します"),
                  QT_TRANSLATE_NOOP("Pavrix", "エクスポート")));
    table.Set(ids::DriverRgbEmulation, Same(QT_TRANSLATE_NOOP("Pavrix", "RGB/MMX Emulation")));
    table.Set(ids::DriverDirect3DHal, Same(QT_TRANSLATE_NOOP("Pavrix", "Direct3D HAL")));
    table.Set(ids::RenderDithered, Same(QT_TRANSLATE_NOOP("Pavrix", "Dithered")));
    table.Set(ids::RenderLighting, Same(QT_TRANSLATE_NOOP("Pavrix", "Lighting")));
    table.Set(ids::RenderPoints, Same(QT_TRANSLATE_NOOP("Pavrix", "Points")));
    table.Set(ids::RenderWireframe, Same(QT_TRANSLATE_NOOP("Pavrix", "Wireframe")));
    table.Set(ids::RenderSolid, Same(QT_TRANSLATE_NOOP("Pavrix", "Solid")));
    table.Set(ids::RenderFlat, Same(QT_TRANSLATE_NOOP("Pavrix", "Flat")));
    table.Set(ids::RenderGouraud, Same(QT_TRANSLATE_NOOP("Pavrix", "Gouraud")));
    table.Set(ids::RenderTextureFiltering, Same(QT_TRANSLATE_NOOP("Pavrix", "Texture Filtering")));
    table.Set(ids::DriverUseVideoMemory, Same(QT_TRANSLATE_NOOP("Pavrix", "Use VideoMemory")));
    table.Set(ids::KeyFrameLeft, Two(QT_TRANSLATE_NOOP("Pavrix", "KeyFrame Left"),
                                     QT_TRANSLATE_NOOP("Pavrix", "ひとつ前のキーへ")));
    table.Set(ids::KeyFrameRight, Two(QT_TRANSLATE_NOOP("Pavrix", "KeyFrame right"),
                                      QT_TRANSLATE_NOOP("Pavrix", "ひとつ先のキーへ")));
    table.Set(ids::StopAnimation, Two(QT_TRANSLATE_NOOP("Pavrix", "Stop Animation"),
                                      QT_TRANSLATE_NOOP("Pavrix", "停止")));
    table.Set(ids::PlayAnimation, Two(QT_TRANSLATE_NOOP("Pavrix", "Play Animation"),
                                      QT_TRANSLATE_NOOP("Pavrix", "再生")));
    table.Set(ids::EditPartsAnimationKey,
              Two(QT_TRANSLATE_NOOP("Pavrix", "Edit...Parts Animation Key"),
                  QT_TRANSLATE_NOOP("Pavrix", "パーツのアニメーション情報")));
    table.Set(ids::AnimationForwardStep, Two(QT_TRANSLATE_NOOP("Pavrix", "Animation Forward Step"),
                                             QT_TRANSLATE_NOOP("Pavrix", "１進める")));
    table.Set(ids::AnimationBackStep, Two(QT_TRANSLATE_NOOP("Pavrix", "Animation Back Step"),
                                          QT_TRANSLATE_NOOP("Pavrix", "１戻す")));
    table.Set(ids::AddKeyFrame, Two(QT_TRANSLATE_NOOP("Pavrix", "Add Key Frame"),
                                    QT_TRANSLATE_NOOP("Pavrix", "パーツにキーを追加")));
    table.Set(ids::DeleteKeyFrame, Two(QT_TRANSLATE_NOOP("Pavrix", "Delete Key Frame"),
                                       QT_TRANSLATE_NOOP("Pavrix", "現在のキーを削除")));
    table.Set(ids::AddLastKeyFrame,
              Two(QT_TRANSLATE_NOOP("Pavrix", "Add Last Key Frame"),
                  QT_TRANSLATE_NOOP("Pavrix", "アニメーションの最後にキーを追加")));
    table.Set(ids::CopyKeyFrame, Two(QT_TRANSLATE_NOOP("Pavrix", "Copy Key Frame"),
                                     QT_TRANSLATE_NOOP("Pavrix", "現在のキーをコピー")));
    table.Set(ids::PasteKeyFrame, Two(QT_TRANSLATE_NOOP("Pavrix", "Paste Key Frame"),
                                      QT_TRANSLATE_NOOP("Pavrix", "現在のキーへ、ペースト")));
    table.Set(ids::ProjectionPerspective, Same(QT_TRANSLATE_NOOP("Pavrix", "Perspective")));
    table.Set(ids::ProjectionOrthographic, Same(QT_TRANSLATE_NOOP("Pavrix", "Orthographic")));
    table.Set(ids::ZBufferOn, Same(QT_TRANSLATE_NOOP("Pavrix", "ZBuffer On")));
    table.Set(ids::ZBufferOff, Same(QT_TRANSLATE_NOOP("Pavrix", "ZBuffer Off")));
    table.Set(ids::InsertCharacter,
              Two(QT_TRANSLATE_NOOP("Pavrix", "ｼｰﾝに挿入"), QT_TRANSLATE_NOOP("Pavrix", "挿入")));
    table.Set(ids::AnimationPlayAll,
              Two(QT_TRANSLATE_NOOP("Pavrix", "Animation Play All"),
                  QT_TRANSLATE_NOOP("Pavrix", "すべてのアニメーションの再生")));
    table.Set(ids::ChangeAnimation, Two(QT_TRANSLATE_NOOP("Pavrix", "ｱﾆﾒｰｼｮﾝをﾛｰﾄﾞして変更"),
                                        QT_TRANSLATE_NOOP("Pavrix", "ｱﾆﾒｰｼｮﾝの変更")));
    table.Set(ids::ChangeModel, Two(QT_TRANSLATE_NOOP("Pavrix", "ﾓﾃﾞﾙをﾛｰﾄﾞして変更"),
                                    QT_TRANSLATE_NOOP("Pavrix", "ﾓﾃﾞﾙの変更")));
    table.Set(ids::ChangeModelScale, Two(QT_TRANSLATE_NOOP("Pavrix", "Change Model Scale"),
                                         QT_TRANSLATE_NOOP("Pavrix", "モデルの大きさを変更")));
    table.Set(ids::DeleteAllPositionKey,
              Two(QT_TRANSLATE_NOOP("Pavrix", "Delete All Position Key"),
                  QT_TRANSLATE_NOOP("Pavrix", "ポジションキーをすべて削除")));
    table.Set(ids::ChangeAllPositionKeyScale,
              Two(QT_TRANSLATE_NOOP("Pavrix", "Change All Position Key Scale"),
                  QT_TRANSLATE_NOOP("Pavrix", "ポジションキーの移動サイズの変更")));
    table.Set(ids::AnimationLast, Two(QT_TRANSLATE_NOOP("Pavrix", "Animation Last"),
                                      QT_TRANSLATE_NOOP("Pavrix", "最後へ")));
    table.Set(ids::AnimationFirst, Two(QT_TRANSLATE_NOOP("Pavrix", "Animation First"),
                                       QT_TRANSLATE_NOOP("Pavrix", "最初へ")));
    table.Set(ids::ChangeAnimationPace,
              Two(QT_TRANSLATE_NOOP("Pavrix", "Change Animation Pace"),
                  QT_TRANSLATE_NOOP("Pavrix", "アニメーションのペースを変更")));
    table.Set(ids::SkinOn, Two(QT_TRANSLATE_NOOP("Pavrix", "Skin On"),
                               QT_TRANSLATE_NOOP("Pavrix", "スキン処理を行う")));
    table.Set(ids::ResetOrientation, Two(QT_TRANSLATE_NOOP("Pavrix", "Reset Orientation"),
                                         QT_TRANSLATE_NOOP("Pavrix", "姿勢をリセット")));
    table.Set(ids::MoveFirstKeyTimeZero,
              Two(QT_TRANSLATE_NOOP("Pavrix", "Move First Key Time Zero"),
                  QT_TRANSLATE_NOOP("Pavrix", "先頭のキーが0になるよう、すべてのキーを移動")));
    table.Set(ids::Manual, Same(QT_TRANSLATE_NOOP("Pavrix", "簡易ﾏﾆｭｱﾙ")));

    // Strings of identifiers nothing handles. 32827 has none; 32828 is a status-line
    // prompt only, so it gives no tool tip.
    table.Set(ids::RenderPhong, Same(QT_TRANSLATE_NOOP("Pavrix", "Phong")));
    table.Set(ids::FourPaneView, Same(QT_TRANSLATE_NOOP("Pavrix", "４分割表示")));
    table.Set(ids::AnimationAllPlay, Same(QT_TRANSLATE_NOOP("Pavrix", "Animation All Play")));
    table.Set(ids::DeletePositionKey, Same(QT_TRANSLATE_NOOP("Pavrix", "Delete Position Key")));
    table.Set(ids::SetParent, Same(QT_TRANSLATE_NOOP("Pavrix", "Set Parent")));
    table.Set(ids::SetChild, Same(QT_TRANSLATE_NOOP("Pavrix", "Set Child")));
    table.Set(ids::SelectParts, Same(QT_TRANSLATE_NOOP("Pavrix", "Select Parts")));
    table.Set(ids::SkinOnStatus, framework::Tr(QT_TRANSLATE_NOOP("Pavrix", "Skin On")));
    table.Set(ids::DeletePartsKeyFrame,
              Same(QT_TRANSLATE_NOOP("Pavrix", "Delete Parts Key Frame")));
    table.Set(ids::CopyPartsKeyFrame, Same(QT_TRANSLATE_NOOP("Pavrix", "Copy Parts Key Frame")));
    table.Set(ids::PastePartsKeyFrame, Same(QT_TRANSLATE_NOOP("Pavrix", "Paste Parts Key Frame")));
    table.Set(ids::ReverseRotatePositionScale,
              Same(QT_TRANSLATE_NOOP("Pavrix", "Reverse Rotate, Position, Scale")));
    return table;
}

} // namespace

QString AppTitle() {
    return QStringLiteral("Pavrix / Prototype");
}

QString DocumentString() {
    return QCoreApplication::translate("Pavrix",
                                       "Pavrix\n\nPX\nX ﾌｧｲﾙ (*.x)\n.x\nX.Document\nX Document");
}

const framework::StringTable& Strings() {
    static std::map<QString, framework::StringTable> tables;
    return framework::ForTextLanguage(tables, BuildStrings);
}

} // namespace resources
