#pragma once

#include <QString>

#include "scene/SceneDocument.h"

class IBatchCommandHost;

/// File ▸ Export ("エクスポート(&E)...", 32842): asks for a .glb or .gltf file name and
/// writes the document there as glTF 2.0 (gltf::ExportDocument, the function the command
/// line's --export calls). Animation sets whose file declares no tick rate are timed at
/// `ticksPerSecond`, the editor's play speed. A name without either extension gets
/// ".glb". A failure names the file and the reason; what was changed on the way (skin
/// weights normalised, images left out) is shown after a success. Without a model it only
/// says so. The document is read, never changed.
class ExportFileCommand {
public:
    ExportFileCommand(IBatchCommandHost& host, const scene::SceneDocument& doc,
                      double ticksPerSecond);
    void Execute();

    static constexpr char kCaption[] = QT_TRANSLATE_NOOP("Pavrix", "Export");
    static constexpr char kFileFilter[] = QT_TRANSLATE_NOOP(
        "Pavrix", "glTF バイナリ (*.glb)|*.glb|glTF (*.gltf)|*.gltf|すべてのﾌｧｲﾙ (*.*)|*.*||");
    static constexpr char kNoModelMessage[] =
        QT_TRANSLATE_NOOP("Pavrix", "エクスポートするモデルがありません。");
    static constexpr char kFailedMessage[] =
        QT_TRANSLATE_NOOP("Pavrix", "エクスポートに失敗しました。");
    static constexpr char kWarningsMessage[] =
        QT_TRANSLATE_NOOP("Pavrix", "エクスポートしました。次の点を変えています:");

    /// `path` with ".glb" appended unless it ends in .glb or .gltf (any case).
    static QString WithExtension(const QString& path);

private:
    IBatchCommandHost& m_host;
    scene::SceneDocument m_doc;
    double m_ticksPerSecond;
};
