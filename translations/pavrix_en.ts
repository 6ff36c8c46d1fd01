<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Pavrix</name>
    <message>
        <source>Last</source>
        <translation>Last</translation>
    </message>
    <message>
        <source>non</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Non</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Operation Mode</source>
        <translation>Operation Mode</translation>
    </message>
    <message>
        <source>Parent-Child</source>
        <translation>Parent-Child</translation>
    </message>
    <message>
        <source>Animation</source>
        <translation>Animation</translation>
    </message>
    <message>
        <source>Camera View</source>
        <translation>Camera View</translation>
    </message>
    <message>
        <source>User</source>
        <translation>User</translation>
    </message>
    <message>
        <source>Flont</source>
        <translation>Front</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>Bottom</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Center</translation>
    </message>
    <message>
        <source>Mouse Function</source>
        <translation>Mouse Function</translation>
    </message>
    <message>
        <source>plase</source>
        <translation>place</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>animation</source>
        <translation>Animation</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Animation Name</source>
        <translation>Animation Name</translation>
    </message>
    <message>
        <source>Model Name</source>
        <translation>Model Name</translation>
    </message>
    <message>
        <source>Part Name</source>
        <translation>Part Name</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Key No</source>
        <translation>Key No</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>-&gt; Change</source>
        <translation>-&gt; Change</translation>
    </message>
    <message>
        <source>Play Speed</source>
        <translation>Play Speed</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>%1
このファイルは見つかりません。最近使ったファイルの一覧から削除しました。</source>
        <translation>%1
This file cannot be found. It has been removed from the list of recent files.</translation>
    </message>
    <message>
        <source>前回、保存されていない作業が自動保存されています。

ファイル: %1
自動保存の時刻: %2

復元しますか？</source>
        <translation>Unsaved work from an earlier session was saved automatically.

File: %1
Saved at: %2

Recover it?</translation>
    </message>
    <message>
        <source>(無題)</source>
        <translation>(Untitled)</translation>
    </message>
    <message>
        <source>X ﾌｧｲﾙ (*.x)|*.x|すべてのﾌｧｲﾙ (*.*)|*.*||</source>
        <translation>X Files (*.x)|*.x|All Files (*.*)|*.*||</translation>
    </message>
    <message>
        <source>ファイルの保存に失敗しました。</source>
        <translation>The file could not be saved.</translation>
    </message>
    <message>
        <source>保存するデータがありません。</source>
        <translation>There is nothing to save.</translation>
    </message>
    <message>
        <source>Direct3DRM3 の初期化に失敗しました。
Pavrix の実行には、DirectX6 が必要です。</source>
        <translation>The 3D scene library could not be started.
Pavrix cannot run without it.</translation>
    </message>
    <message>
        <source>%.2f から %.2f までの数字を入力してください。</source>
        <translation>Enter a number from %.2f to %.2f.</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>ファイルまたはフォルダーが見つかりません。</source>
        <translation>The file or folder cannot be found.</translation>
    </message>
    <message>
        <source>このファイルまたはフォルダーに書き込む(読み込む)権限がありません。</source>
        <translation>You do not have permission to write (or read) this file or folder.</translation>
    </message>
    <message>
        <source>ディスクの空き容量が足りません。</source>
        <translation>There is not enough free space on the disk.</translation>
    </message>
    <message>
        <source>ファイルが途中で終わっています(壊れているか、書き込みの途中です)。</source>
        <translation>The file ends too early (it is damaged or still being written).</translation>
    </message>
    <message>
        <source>X ファイル (.x) ではありません。</source>
        <translation>This is not an X file (.x).</translation>
    </message>
    <message>
        <source>簡易説明書を表示できませんでした。
HTML ファイルを表示するプログラム (ウェブブラウザーなど) が見つかりません。
%1</source>
        <translation>The manual could not be shown.
No program that shows HTML files (a web browser, for example) was found.
%1</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>最新のﾌｧｲﾙ</source>
        <translation>Recent File</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)	Ctrl+Z</source>
        <translation>&amp;Undo	Ctrl+Z</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U): %1	Ctrl+Z</source>
        <translation>&amp;Undo: %1	Ctrl+Z</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)	Ctrl+Y</source>
        <translation>&amp;Redo	Ctrl+Y</translation>
    </message>
    <message>
        <source>やり直し(&amp;R): %1	Ctrl+Y</source>
        <translation>&amp;Redo: %1	Ctrl+Y</translation>
    </message>
    <message>
        <source>Add Key Frame</source>
        <translation>Add Key Frame</translation>
    </message>
    <message>
        <source>アニメーションを追加するパーツを選択後、
ボタンを押してください。</source>
        <translation>Select the part to animate,
then press the button.</translation>
    </message>
    <message>
        <source>Time &quot;%d&quot; にはすでにキーが存在します</source>
        <translation>There is already a key at Time &quot;%d&quot;</translation>
    </message>
    <message>
        <source>このパーツにはアニメーションがありません。
アニメーションを生成しますか？</source>
        <translation>This part has no animation.
Create one?</translation>
    </message>
    <message>
        <source>アニメーションキーを Time &quot;%d&quot; へ追加しますか？</source>
        <translation>Add an animation key at Time &quot;%d&quot;?</translation>
    </message>
    <message>
        <source>キーの追加完了。</source>
        <translation>The key was added.</translation>
    </message>
    <message>
        <source>キーの追加</source>
        <translation>Add Key</translation>
    </message>
    <message>
        <source>Add Last Key Frame</source>
        <translation>Add Last Key Frame</translation>
    </message>
    <message>
        <source>アニメーションの最後(+1)にキーを追加しますか？</source>
        <translation>Add a key after the end (+1) of the animation?</translation>
    </message>
    <message>
        <source>現在アニメーションが登録されていません。
アニメーションを生成しますか？</source>
        <translation>There is no animation yet.
Create one?</translation>
    </message>
    <message>
        <source>最後にキーを追加</source>
        <translation>Add Key at the End</translation>
    </message>
    <message>
        <source>モデルデータが存在しません。</source>
        <translation>There is no model data.</translation>
    </message>
    <message>
        <source>Change All Position Key Scale</source>
        <translation>Change All Position Key Scale</translation>
    </message>
    <message>
        <source>ポジションキーの移動サイズの変更</source>
        <translation>Change Position Key Scale</translation>
    </message>
    <message>
        <source>すべてのポジションキーの移動サイズ変更完了。</source>
        <translation>All position keys were scaled.</translation>
    </message>
    <message>
        <source>アニメーション全体の長さを変更することで、
再生ペースを変えます。

現在の機能：アニメーションの長さ×２倍</source>
        <translation>Changes the playing pace by changing
the length of the whole animation.

What it does now: the animation becomes twice as long</translation>
    </message>
    <message>
        <source>Change Animation Pace</source>
        <translation>Change Animation Pace</translation>
    </message>
    <message>
        <source>アニメーションのペースの変更</source>
        <translation>Change Animation Pace</translation>
    </message>
    <message>
        <source>アニメーションの長さの変更完了。</source>
        <translation>The animation length was changed.</translation>
    </message>
    <message>
        <source>キーの範囲を %d から %d へ変更しますか？</source>
        <translation>Change the key interval from %d to %d?</translation>
    </message>
    <message>
        <source>Change Key Frame Length</source>
        <translation>Change Key Frame Length</translation>
    </message>
    <message>
        <source>キーの長さの変更</source>
        <translation>Change Key Length</translation>
    </message>
    <message>
        <source>Change Model Scale</source>
        <translation>Change Model Scale</translation>
    </message>
    <message>
        <source>モデルの大きさの変更</source>
        <translation>Change Model Size</translation>
    </message>
    <message>
        <source>スケールの変更完了。</source>
        <translation>The scale was changed.</translation>
    </message>
    <message>
        <source>キーのコピー</source>
        <translation>Copy Key</translation>
    </message>
    <message>
        <source>すべてのポジション(位置)キーを削除し、
アニメーションをモデルのサイズに依存しないようにします。</source>
        <translation>Deletes every position key,
so that the animation no longer depends on the size of the model.</translation>
    </message>
    <message>
        <source>Delete All Position Key</source>
        <translation>Delete All Position Keys</translation>
    </message>
    <message>
        <source>ポジションキーの全削除</source>
        <translation>Delete All Position Keys</translation>
    </message>
    <message>
        <source>ポジションキーの削除完了。</source>
        <translation>The position keys were deleted.</translation>
    </message>
    <message>
        <source>Delete Key Frame</source>
        <translation>Delete Key Frame</translation>
    </message>
    <message>
        <source>Time &quot;%d&quot; にはキーが存在しません。</source>
        <translation>There is no key at Time &quot;%d&quot;.</translation>
    </message>
    <message>
        <source>Time &quot;%d&quot; のキーを削除します。</source>
        <translation>The key at Time &quot;%d&quot; will be deleted.</translation>
    </message>
    <message>
        <source>キーの削除完了。</source>
        <translation>The key was deleted.</translation>
    </message>
    <message>
        <source>キーの削除</source>
        <translation>Delete Key</translation>
    </message>
    <message>
        <source>選択したキーの削除</source>
        <translation>Delete Selected Keys</translation>
    </message>
    <message>
        <source>パーツのアニメーション情報の変更</source>
        <translation>Edit Part Animation Keys</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>glTF バイナリ (*.glb)|*.glb|glTF (*.gltf)|*.gltf|すべてのﾌｧｲﾙ (*.*)|*.*||</source>
        <translation>glTF Binary (*.glb)|*.glb|glTF (*.gltf)|*.gltf|All Files (*.*)|*.*||</translation>
    </message>
    <message>
        <source>エクスポートするモデルがありません。</source>
        <translation>There is no model to export.</translation>
    </message>
    <message>
        <source>エクスポートに失敗しました。</source>
        <translation>The export failed.</translation>
    </message>
    <message>
        <source>エクスポートしました。次の点を変えています:</source>
        <translation>Exported, with these changes:</translation>
    </message>
    <message>
        <source>アニメーションデータが存在しません。</source>
        <translation>There is no animation data.</translation>
    </message>
    <message>
        <source>先頭キーが0から始まるよう、すべてのキーを移動します。
</source>
        <translation>Moves every key so that the first key is at time 0.
</translation>
    </message>
    <message>
        <source>Move First Key Time Zero</source>
        <translation>Move First Key to Time Zero</translation>
    </message>
    <message>
        <source>先頭キーを0へ移動</source>
        <translation>Move First Key to 0</translation>
    </message>
    <message>
        <source>変更完了。</source>
        <translation>Done.</translation>
    </message>
    <message>
        <source>キーの移動</source>
        <translation>Move Keys</translation>
    </message>
    <message>
        <source>Paste Key Frame</source>
        <translation>Paste Key Frame</translation>
    </message>
    <message>
        <source>ペーストを行う前に、コピーしたいキーを
コピーボタンで選択してください。</source>
        <translation>Before pasting, choose the key to copy
with the Copy button.</translation>
    </message>
    <message>
        <source>コピーした Time &quot;%d&quot; のキーを、
Time &quot;%d&quot; にペーストします。</source>
        <translation>The key copied at Time &quot;%d&quot;
will be pasted at Time &quot;%d&quot;.</translation>
    </message>
    <message>
        <source>キーの貼り付け</source>
        <translation>Paste Key</translation>
    </message>
    <message>
        <source>選択したキーの貼り付け</source>
        <translation>Paste Selected Keys</translation>
    </message>
    <message>
        <source>Morphing Skin</source>
        <translation>Morphing Skin</translation>
    </message>
    <message>
        <source>姿勢のリセット</source>
        <translation>Reset Orientation</translation>
    </message>
    <message>
        <source>モーフィングによるスキン処理を行いますか？
一度実行したら元には戻せません。</source>
        <translation>Apply morphing skin?
This cannot be undone.</translation>
    </message>
    <message>
        <source>スキン処理機能が有効になりました。
この操作は元に戻せません。それまでの操作も元に戻せなくなりました。</source>
        <translation>Skinning is now on.
This cannot be undone, and the earlier edits can no longer be undone either.</translation>
    </message>
    <message>
        <source>スキン処理で頂点の並びが変わったため、次のデータは削除され、保存されません。</source>
        <translation>Skinning changed the order of the vertices, so the following data was removed and will not be saved.</translation>
    </message>
    <message>
        <source>スキン処理</source>
        <translation>Skin On</translation>
    </message>
    <message>
        <source>モデルスケールの変更</source>
        <translation>Change Model Scale</translation>
    </message>
    <message>
        <source>ﾎﾟｼﾞｼｮﾝｷｰのｽｹｰﾙ変更も行う</source>
        <translation>Scale the position keys too</translation>
    </message>
    <message>
        <source>パーツ・アニメーションキーの編集</source>
        <translation>Edit Part Animation Keys</translation>
    </message>
    <message>
        <source>パーツ名「%1」は使えません。
空白、{ } [ ] ( ) &lt; &gt; &quot; , ; を含む名前や、Shift-JIS (コードページ 932) で表せない文字を含む名前は、保存したファイルから読み直せません。
パーツ名は「%2」のままです。</source>
        <translation>The part name &quot;%1&quot; cannot be used.
A name with spaces, { } [ ] ( ) &lt; &gt; &quot; , ; or characters that Shift-JIS (code page 932) cannot represent could not be read back from the saved file.
The part name stays &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>パーツ名「%1」は同じモデルの別のパーツが使っています。
アニメーションはパーツ名で結び付くため、同じ名前は付けられません。
パーツ名は「%2」のままです。</source>
        <translation>The part name &quot;%1&quot; is used by another part of the same model.
Animations are bound to parts by name, so two parts cannot share one.
The part name stays &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>Animation Key List</source>
        <translation>Animation Key List</translation>
    </message>
    <message>
        <source>PartsTypeName</source>
        <translation>Part Type Name</translation>
    </message>
    <message>
        <source>Animation Option</source>
        <translation>Animation Option</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Matrix</source>
        <translation>Matrix</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Scale &amp;&amp; Rotation</source>
        <translation>Scale &amp;&amp; Rotation</translation>
    </message>
    <message>
        <source>Position Complement</source>
        <translation>Position Interpolation</translation>
    </message>
    <message>
        <source>Liner</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>Spline</source>
        <translation>Spline</translation>
    </message>
    <message>
        <source>Select Parts</source>
        <translation>Select Parts</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ポジションキースケールの変更</source>
        <translation>Change Position Key Scale</translation>
    </message>
    <message>
        <source>Min : x0.01 ～ Max : x100</source>
        <translation>Min: x0.01 - Max: x100</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1 への変更を保存しますか?</source>
        <translation>Save changes to %1?</translation>
    </message>
    <message>
        <source>数字を入力してください。</source>
        <translation>Enter a number.</translation>
    </message>
    <message>
        <source>整数を入力してください。</source>
        <translation>Enter a whole number.</translation>
    </message>
    <message>
        <source>空のﾄﾞｷｭﾒﾝﾄの作成に失敗しました。</source>
        <translation>The empty document could not be created.</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>すべてのﾌｧｲﾙ (*.*)|*.*|</source>
        <translation>All Files (*.*)|*.*|</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>はい(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About Pavrix</translation>
    </message>
    <message>
        <source>File(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)	Ctrl+N</source>
        <translation>&amp;New	Ctrl+N</translation>
    </message>
    <message>
        <source>開く(&amp;O)...	Ctrl+O</source>
        <translation>&amp;Open...	Ctrl+O</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)	Ctrl+S</source>
        <translation>&amp;Save	Ctrl+S</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>エクスポート(&amp;E)...</source>
        <translation>&amp;Export...</translation>
    </message>
    <message>
        <source>別ｷｬﾗｸﾀｰを挿入(&amp;I)...</source>
        <translation>&amp;Insert Another Character...</translation>
    </message>
    <message>
        <source>ﾓﾃﾞﾙの変更(&amp;M)</source>
        <translation>Change &amp;Model</translation>
    </message>
    <message>
        <source>ｱﾆﾒｰｼｮﾝの変更(&amp;Z)</source>
        <translation>Change Animation (&amp;Z)</translation>
    </message>
    <message>
        <source>ｱﾌﾟﾘｹｰｼｮﾝの終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Edit(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>切り取り(&amp;T)	Ctrl+X</source>
        <translation>Cu&amp;t	Ctrl+X</translation>
    </message>
    <message>
        <source>ｺﾋﾟｰ(&amp;C)	Ctrl+C</source>
        <translation>&amp;Copy	Ctrl+C</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)	Ctrl+V</source>
        <translation>&amp;Paste	Ctrl+V</translation>
    </message>
    <message>
        <source>Driver(&amp;D)</source>
        <translation>&amp;Driver</translation>
    </message>
    <message>
        <source>RGB/MMX Emulation</source>
        <translation>RGB/MMX Emulation</translation>
    </message>
    <message>
        <source>Direct3D HAL</source>
        <translation>Direct3D HAL</translation>
    </message>
    <message>
        <source>Use VideoMemory</source>
        <translation>Use Video Memory</translation>
    </message>
    <message>
        <source>Renderer(&amp;R)</source>
        <translation>&amp;Renderer</translation>
    </message>
    <message>
        <source>Lighting</source>
        <translation>Lighting</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>Wireframe</source>
        <translation>Wireframe</translation>
    </message>
    <message>
        <source>Solid</source>
        <translation>Solid</translation>
    </message>
    <message>
        <source>Flat</source>
        <translation>Flat</translation>
    </message>
    <message>
        <source>Gouraud</source>
        <translation>Gouraud</translation>
    </message>
    <message>
        <source>Dithered</source>
        <translation>Dithered</translation>
    </message>
    <message>
        <source>Texture Filtering</source>
        <translation>Texture Filtering</translation>
    </message>
    <message>
        <source>Projection(&amp;P)</source>
        <translation>&amp;Projection</translation>
    </message>
    <message>
        <source>Perspective</source>
        <translation>Perspective</translation>
    </message>
    <message>
        <source>Orthographic</source>
        <translation>Orthographic</translation>
    </message>
    <message>
        <source>ZBuffer(&amp;Z)</source>
        <translation>&amp;Z-Buffer</translation>
    </message>
    <message>
        <source>On</source>
        <translation>On</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>View(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>ﾓﾃﾞﾙ全体を表示(&amp;W)	Home</source>
        <translation>Frame &amp;Whole Model	Home</translation>
    </message>
    <message>
        <source>ﾂｰﾙ ﾊﾞｰ(&amp;T)</source>
        <translation>&amp;Tool Bar</translation>
    </message>
    <message>
        <source>ﾀｲﾑﾗｲﾝ(&amp;L)</source>
        <translation>Time&amp;line</translation>
    </message>
    <message>
        <source>Help(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>簡易説明書(&amp;H)</source>
        <translation>&amp;Manual</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報 (&amp;A)...</source>
        <translation>&amp;About Pavrix...</translation>
    </message>
    <message>
        <source>新しいファイルを作成します</source>
        <translation>Creates a new file</translation>
    </message>
    <message>
        <source>新規作成</source>
        <translation>New</translation>
    </message>
    <message>
        <source>既存のファイルを開きます</source>
        <translation>Opens an existing file</translation>
    </message>
    <message>
        <source>ファイルを上書き保存します</source>
        <translation>Saves the file</translation>
    </message>
    <message>
        <source>上書き保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>ファイルに名前を付けて保存します</source>
        <translation>Saves the file under a new name</translation>
    </message>
    <message>
        <source>このファイルを開きます</source>
        <translation>Opens this file</translation>
    </message>
    <message>
        <source>選択範囲をコピーします</source>
        <translation>Copies the selection</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>選択範囲を切り取ります</source>
        <translation>Cuts the selection</translation>
    </message>
    <message>
        <source>切り取り</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>クリップボードの内容を貼り付けます</source>
        <translation>Pastes the contents of the clipboard</translation>
    </message>
    <message>
        <source>貼り付け</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>直前の操作を元に戻します</source>
        <translation>Undoes the last action</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>元に戻した操作をやり直します</source>
        <translation>Redoes the action undone</translation>
    </message>
    <message>
        <source>やり直し</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>バージョン情報を表示します</source>
        <translation>Shows the version of the program</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>アプリケーションを終了します</source>
        <translation>Quits the application</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>次の区画へ移ります</source>
        <translation>Moves to the next pane</translation>
    </message>
    <message>
        <source>次の区画</source>
        <translation>Next Pane</translation>
    </message>
    <message>
        <source>前の区画へ戻ります</source>
        <translation>Moves back to the previous pane</translation>
    </message>
    <message>
        <source>前の区画</source>
        <translation>Previous Pane</translation>
    </message>
    <message>
        <source>ツール バーの表示と非表示を切り替えます</source>
        <translation>Shows or hides the tool bar</translation>
    </message>
    <message>
        <source>ツール バー</source>
        <translation>Tool Bar</translation>
    </message>
    <message>
        <source>タイムラインの表示と非表示を切り替えます</source>
        <translation>Shows or hides the timeline</translation>
    </message>
    <message>
        <source>タイムライン</source>
        <translation>Timeline</translation>
    </message>
    <message>
        <source>Frame Whole Model</source>
        <translation>Frame Whole Model</translation>
    </message>
    <message>
        <source>モデル全体を表示</source>
        <translation>Frame Whole Model</translation>
    </message>
    <message>
        <source>キャラクターを glTF 2.0 ファイル (.glb, .gltf) に書き出します</source>
        <translation>Exports the character as a glTF 2.0 file (.glb, .gltf)</translation>
    </message>
    <message>
        <source>エクスポート</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>KeyFrame Left</source>
        <translation>Previous Key Frame</translation>
    </message>
    <message>
        <source>ひとつ前のキーへ</source>
        <translation>Previous key</translation>
    </message>
    <message>
        <source>KeyFrame right</source>
        <translation>Next Key Frame</translation>
    </message>
    <message>
        <source>ひとつ先のキーへ</source>
        <translation>Next key</translation>
    </message>
    <message>
        <source>Stop Animation</source>
        <translation>Stop Animation</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Play Animation</source>
        <translation>Play Animation</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Edit...Parts Animation Key</source>
        <translation>Edit Part Animation Keys...</translation>
    </message>
    <message>
        <source>パーツのアニメーション情報</source>
        <translation>Part animation keys</translation>
    </message>
    <message>
        <source>Animation Forward Step</source>
        <translation>Animation Forward Step</translation>
    </message>
    <message>
        <source>１進める</source>
        <translation>Step forward</translation>
    </message>
    <message>
        <source>Animation Back Step</source>
        <translation>Animation Back Step</translation>
    </message>
    <message>
        <source>１戻す</source>
        <translation>Step back</translation>
    </message>
    <message>
        <source>パーツにキーを追加</source>
        <translation>Add a key to the part</translation>
    </message>
    <message>
        <source>現在のキーを削除</source>
        <translation>Delete the current key</translation>
    </message>
    <message>
        <source>アニメーションの最後にキーを追加</source>
        <translation>Add a key at the end of the animation</translation>
    </message>
    <message>
        <source>Copy Key Frame</source>
        <translation>Copy Key Frame</translation>
    </message>
    <message>
        <source>現在のキーをコピー</source>
        <translation>Copy the current key</translation>
    </message>
    <message>
        <source>現在のキーへ、ペースト</source>
        <translation>Paste onto the current key</translation>
    </message>
    <message>
        <source>ZBuffer On</source>
        <translation>Z-Buffer On</translation>
    </message>
    <message>
        <source>ZBuffer Off</source>
        <translation>Z-Buffer Off</translation>
    </message>
    <message>
        <source>ｼｰﾝに挿入</source>
        <translation>Inserts a character into the scene</translation>
    </message>
    <message>
        <source>挿入</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>Animation Play All</source>
        <translation>Play All Animations</translation>
    </message>
    <message>
        <source>すべてのアニメーションの再生</source>
        <translation>Play all animations</translation>
    </message>
    <message>
        <source>ｱﾆﾒｰｼｮﾝをﾛｰﾄﾞして変更</source>
        <translation>Loads an animation and changes to it</translation>
    </message>
    <message>
        <source>ｱﾆﾒｰｼｮﾝの変更</source>
        <translation>Change Animation</translation>
    </message>
    <message>
        <source>ﾓﾃﾞﾙをﾛｰﾄﾞして変更</source>
        <translation>Loads a model and changes to it</translation>
    </message>
    <message>
        <source>ﾓﾃﾞﾙの変更</source>
        <translation>Change Model</translation>
    </message>
    <message>
        <source>モデルの大きさを変更</source>
        <translation>Change the size of the model</translation>
    </message>
    <message>
        <source>ポジションキーをすべて削除</source>
        <translation>Delete all position keys</translation>
    </message>
    <message>
        <source>Animation Last</source>
        <translation>Animation Last</translation>
    </message>
    <message>
        <source>最後へ</source>
        <translation>To the end</translation>
    </message>
    <message>
        <source>Animation First</source>
        <translation>Animation First</translation>
    </message>
    <message>
        <source>最初へ</source>
        <translation>To the start</translation>
    </message>
    <message>
        <source>アニメーションのペースを変更</source>
        <translation>Change the animation pace</translation>
    </message>
    <message>
        <source>Skin On</source>
        <translation>Skin On</translation>
    </message>
    <message>
        <source>スキン処理を行う</source>
        <translation>Apply skinning</translation>
    </message>
    <message>
        <source>Reset Orientation</source>
        <translation>Reset Orientation</translation>
    </message>
    <message>
        <source>姿勢をリセット</source>
        <translation>Reset the orientation</translation>
    </message>
    <message>
        <source>先頭のキーが0になるよう、すべてのキーを移動</source>
        <translation>Move every key so that the first key is at 0</translation>
    </message>
    <message>
        <source>簡易ﾏﾆｭｱﾙ</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Phong</source>
        <translation>Phong</translation>
    </message>
    <message>
        <source>４分割表示</source>
        <translation>Four-Pane View</translation>
    </message>
    <message>
        <source>Animation All Play</source>
        <translation>Play All Animations</translation>
    </message>
    <message>
        <source>Delete Position Key</source>
        <translation>Delete Position Key</translation>
    </message>
    <message>
        <source>Set Parent</source>
        <translation>Set Parent</translation>
    </message>
    <message>
        <source>Set Child</source>
        <translation>Set Child</translation>
    </message>
    <message>
        <source>Delete Parts Key Frame</source>
        <translation>Delete Part Key Frame</translation>
    </message>
    <message>
        <source>Copy Parts Key Frame</source>
        <translation>Copy Part Key Frame</translation>
    </message>
    <message>
        <source>Paste Parts Key Frame</source>
        <translation>Paste Part Key Frame</translation>
    </message>
    <message>
        <source>Reverse Rotate, Position, Scale</source>
        <translation>Reverse Rotation, Position, Scale</translation>
    </message>
    <message>
        <source>Pavrix

PX
X ﾌｧｲﾙ (*.x)
.x
X.Document
X Document</source>
        <translation>Pavrix

PX
X Files (*.x)
.x
X.Document
X Document</translation>
    </message>
    <message>
        <source>CAnimationData:UpdateTotalKeyTimeBuffer
トータルキーの数が最大許容値を越えました</source>
        <translation>CAnimationData:UpdateTotalKeyTimeBuffer
The number of key times is above the largest allowed.</translation>
    </message>
    <message>
        <source>フレーム名がありません！</source>
        <translation>A frame has no name!</translation>
    </message>
    <message>
        <source>アニメーションデータをロードする前に、モデルデータをロードしてください。</source>
        <translation>Load the model data before loading the animation data.</translation>
    </message>
    <message>
        <source>Not CharacterData!</source>
        <translation>Not character data!</translation>
    </message>
    <message>
        <source>モデルのロードに失敗しました。</source>
        <translation>The model could not be loaded.</translation>
    </message>
    <message>
        <source>Not ModelData!</source>
        <translation>Not model data!</translation>
    </message>
    <message>
        <source>アニメーションのロードに失敗しました。</source>
        <translation>The animation could not be loaded.</translation>
    </message>
    <message>
        <source>Not AnimationData!</source>
        <translation>Not animation data!</translation>
    </message>
    <message>
        <source>アニメーションがないので空のアニメーションを生成します。</source>
        <translation>There is no animation, so an empty one is created.</translation>
    </message>
    <message>
        <source>Rotation</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>Part</source>
        <translation>Part</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Keys</translation>
    </message>
    <message>
        <source>(no name)</source>
        <translation>(no name)</translation>
    </message>
    <message>
        <source>Click to show or hide the rotation, scale and position rows</source>
        <translation>Click to show or hide the rotation, scale and position rows</translation>
    </message>
    <message>
        <source>Timeline</source>
        <translation>Timeline</translation>
    </message>
    <message>
        <source>Search parts</source>
        <translation>Search parts</translation>
    </message>
    <message>
        <source>Not Character Data!</source>
        <translation>Not character data!</translation>
    </message>
    <message>
        <source>Not Model Data!</source>
        <translation>Not model data!</translation>
    </message>
    <message>
        <source>Not Animation Data!</source>
        <translation>Not animation data!</translation>
    </message>
    <message>
        <source>選択しているパーツの親を
モデルのRootに変更しました。</source>
        <translation>The parent of the selected part
is now the root of the model.</translation>
    </message>
    <message>
        <source>選択しているパーツの親を変更しました。</source>
        <translation>The parent of the selected part was changed.</translation>
    </message>
    <message>
        <source>モデルのRootの親は変更できません。</source>
        <translation>The parent of the model&apos;s root cannot be changed.</translation>
    </message>
    <message>
        <source>モデルの移動</source>
        <translation>Move Model</translation>
    </message>
    <message>
        <source>パーツの移動</source>
        <translation>Move Part</translation>
    </message>
    <message>
        <source>パーツの回転</source>
        <translation>Rotate Part</translation>
    </message>
    <message>
        <source>親の変更</source>
        <translation>Change Parent</translation>
    </message>
    <message>
        <source>画面の言語は、次に Pavrix を起動したときから日本語になります。</source>
        <extracomment>Shown in the language just chosen: each translation names its own language.</extracomment>
        <translation>The interface will be in English from the next start of Pavrix.</translation>
    </message>
    <message>
        <source>言語 (Language)(&amp;G)</source>
        <translation>Lan&amp;guage</translation>
    </message>
    <message>
        <source>画面の言語を日本語にします (次回の起動から)</source>
        <translation>Shows the interface in Japanese (from the next start)</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>画面の言語を英語にします (次回の起動から)</source>
        <translation>Shows the interface in English (from the next start)</translation>
    </message>
    <message>
        <source>英語</source>
        <translation>English</translation>
    </message>
    <message>
        <source>簡易説明書 (Manual.htm) が見つかりませんでした。次の場所を探しました:
%1</source>
        <translation>The manual (Manual.htm) was not found. These places were searched:
%1</translation>
    </message>
</context>
</TS>
