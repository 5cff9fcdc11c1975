<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>CommandTable</name>
    <message>
        <source>レクモデルの新規作成 (Ctrl+N)</source>
        <translation>New model (Ctrl+N)</translation>
    </message>
    <message>
        <source>レクモデルを開く (Ctrl+O)</source>
        <translation>Open model (Ctrl+O)</translation>
    </message>
    <message>
        <source>レクモデルを名前を付けて保存</source>
        <translation>Save model as</translation>
    </message>
    <message>
        <source>レクモデルの上書き保存 (Ctrl+S)</source>
        <translation>Save model (Ctrl+S)</translation>
    </message>
    <message>
        <source>レクモデルをアニメGIF形式で保存</source>
        <translation>Export as animated GIF</translation>
    </message>
    <message>
        <source>レクモデルを連番BMPファイルで保存</source>
        <translation>Export as numbered BMP files</translation>
    </message>
    <message>
        <source>元に戻す (Ctrl+Z)</source>
        <translation>Undo (Ctrl+Z)</translation>
    </message>
    <message>
        <source>やり直し (Ctrl+Y)</source>
        <translation>Redo (Ctrl+Y)</translation>
    </message>
    <message>
        <source>直線モード (1)</source>
        <translation>Straight lines (1)</translation>
    </message>
    <message>
        <source>ドラッグで直線を引く。ドラッグ中に右クリックで中間の頂点を置く。</source>
        <translation>Drag to draw a line. Right-click while dragging to add a vertex in between.</translation>
    </message>
    <message>
        <source>曲線モード (2)</source>
        <translation>Curves (2)</translation>
    </message>
    <message>
        <source>ドラッグで曲線を引く。ただの直線の集まりなので頂点の増えすぎに注意。</source>
        <translation>Drag to draw a curve. Curves are many short lines: watch the vertex count.</translation>
    </message>
    <message>
        <source>四角形モード (3)</source>
        <translation>Rectangles (3)</translation>
    </message>
    <message>
        <source>ドラッグで長方形を描く。</source>
        <translation>Drag to draw a rectangle.</translation>
    </message>
    <message>
        <source>円モード (4)</source>
        <translation>Circles (4)</translation>
    </message>
    <message>
        <source>ドラッグで円を描く。</source>
        <translation>Drag to draw a circle.</translation>
    </message>
    <message>
        <source>塗りつぶし四角形モード (5)</source>
        <translation>Filled rectangles (5)</translation>
    </message>
    <message>
        <source>ドラッグで塗りつぶされた長方形を描く。</source>
        <translation>Drag to draw a filled rectangle.</translation>
    </message>
    <message>
        <source>塗りつぶし円モード (6)</source>
        <translation>Filled circles (6)</translation>
    </message>
    <message>
        <source>ドラッグで塗りつぶされた円を描く。</source>
        <translation>Drag to draw a filled circle.</translation>
    </message>
    <message>
        <source>末尾の頂点の削除 (Shift+Z)</source>
        <translation>Delete the last vertex (Shift+Z)</translation>
    </message>
    <message>
        <source>範囲選択モード (M)</source>
        <translation>Select a range (M)</translation>
    </message>
    <message>
        <source>ドラッグで頂点を選択する。Ctrlキーを押しながらで選択追加。Shiftキーを押しながらで選択除外。</source>
        <translation>Drag to select vertices. Hold Ctrl to add to the selection, Shift to remove from it.</translation>
    </message>
    <message>
        <source>すべての頂点を選択 (Ctrl+A)</source>
        <translation>Select all vertices (Ctrl+A)</translation>
    </message>
    <message>
        <source>選択の解除 (Ctrl+D)</source>
        <translation>Clear the selection (Ctrl+D)</translation>
    </message>
    <message>
        <source>選択範囲の反転 (Ctrl+I)</source>
        <translation>Invert the selection (Ctrl+I)</translation>
    </message>
    <message>
        <source>選択した頂点の平行移動 (V)</source>
        <translation>Move the selected vertices (V)</translation>
    </message>
    <message>
        <source>ドラッグで平行移動。</source>
        <translation>Drag to move.</translation>
    </message>
    <message>
        <source>選択した頂点の拡大・縮小 (Z)</source>
        <translation>Scale the selected vertices (Z)</translation>
    </message>
    <message>
        <source>ドラッグで拡大・縮小。ドラッグ開始点を基準に横方向のドラッグの距離で拡縮される。</source>
        <translation>Drag to scale. The horizontal distance from where the drag starts sets the scale.</translation>
    </message>
    <message>
        <source>選択した直線の削除 (Delete)</source>
        <translation>Delete the selected lines (Delete)</translation>
    </message>
    <message>
        <source>ＶＴＲモード (Enter)</source>
        <translation>VTR: replay the drawing (Enter)</translation>
    </message>
    <message>
        <source>レクモデルを描かれた順番に再現。</source>
        <translation>Replaying the model in the order it was drawn.</translation>
    </message>
    <message>
        <source>レクモデルの揺れの有無 (Y)</source>
        <translation>Wobble on or off (Y)</translation>
    </message>
    <message>
        <source>レクモデルのプロパティ (Ctrl+P)</source>
        <translation>Model properties (Ctrl+P)</translation>
    </message>
    <message>
        <source>レクツールの設定</source>
        <translation>RekTool settings</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About RekTool</translation>
    </message>
</context>
<context>
    <name>EditorCommandLine</name>
    <message>
        <source>missing value after &apos;--lang&apos;</source>
        <translation>missing value after &apos;--lang&apos;</translation>
    </message>
    <message>
        <source>--lang must be one of %1, not &quot;%2&quot;</source>
        <translation>--lang must be one of %1, not &quot;%2&quot;</translation>
    </message>
</context>
<context>
    <name>ExportCommandLine</name>
    <message>
        <source>missing value after &apos;%1&apos;</source>
        <translation>missing value after &apos;%1&apos;</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>unknown option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Usage: rektool-export MODEL.rkm FORMAT OUT [options]
       rektool-export MODEL.rkm --info

Exports a レクツール model (.rkm or .rk2) without opening a window.

Formats (give exactly one):
  --gif OUT          animated GIF (&quot;.gif&quot; is appended unless OUT ends in &quot;.gif&quot;)
  --webp OUT         animated WebP, lossless unless --quality is given
                     (&quot;.webp&quot; is appended unless OUT ends in it)
  --apng OUT         animated PNG (&quot;.png&quot; is appended unless OUT ends in &quot;.png&quot;
                     or &quot;.apng&quot;)
  --bmp BASE         numbered BMP files BASE0000.bmp, BASE0001.bmp, ...
                     (BASE.bmp for --kind still; a final &quot;.bmp&quot; is removed)
  --png BASE         numbered PNG files BASE0000.png, ... (BASE.png for --kind
                     still; a final &quot;.png&quot; is removed)
  --svg OUT          the still image as vectors (&quot;.svg&quot; is appended unless OUT
                     ends in it)
  --info             print the model&apos;s properties and vertices as JSON

Options:
  --kind K           wobble (5 frames, default), vtr (replay in drawing order,
                     then the wait) or still (one unwobbled image: --bmp, --png;
                     the only kind of --svg)
  --wait S           seconds of finished model after a VTR replay (default 5)
  --smoothness N     VTR smoothness 0-12 (default 12): frame delay 18-N
                     hundredths of a second
  --size WxH         target size in pixels (default: the model&apos;s canvas size)
  --antialias        capture at canvas size and resize with smoothing
  --transparent      make the background transparent: GIF without --antialias;
                     WebP, APNG and PNG with real alpha; SVG without background
                     (not with --bmp)
  --quality Q        --webp only: lossy at quality 0-100 instead of lossless
  --no-wobble        --svg only: the vertices as stored, without their current
                     wobble offsets
  --seed N           seed of the wobble (0-4294967295) for reproducible output
  --quiet            no progress bar and no closing line
  --lang L           language of the messages: %1 (default: from the locale)
  -h, --help         show this help

On a terminal a progress bar goes to standard error. SIGINT and SIGTERM stop an
export without leaving a file behind. Exit status: 0 success, 1 the export or
writing the output failed, 2 bad arguments or a model that cannot be loaded,
130 after SIGINT, 143 after SIGTERM.
</source>
        <translation>Usage: rektool-export MODEL.rkm FORMAT OUT [options]
       rektool-export MODEL.rkm --info

Exports a RekTool model (.rkm or .rk2) without opening a window.

Formats (give exactly one):
  --gif OUT          animated GIF (&quot;.gif&quot; is appended unless OUT ends in &quot;.gif&quot;)
  --webp OUT         animated WebP, lossless unless --quality is given
                     (&quot;.webp&quot; is appended unless OUT ends in it)
  --apng OUT         animated PNG (&quot;.png&quot; is appended unless OUT ends in &quot;.png&quot;
                     or &quot;.apng&quot;)
  --bmp BASE         numbered BMP files BASE0000.bmp, BASE0001.bmp, ...
                     (BASE.bmp for --kind still; a final &quot;.bmp&quot; is removed)
  --png BASE         numbered PNG files BASE0000.png, ... (BASE.png for --kind
                     still; a final &quot;.png&quot; is removed)
  --svg OUT          the still image as vectors (&quot;.svg&quot; is appended unless OUT
                     ends in it)
  --info             print the model&apos;s properties and vertices as JSON

Options:
  --kind K           wobble (5 frames, default), vtr (replay in drawing order,
                     then the wait) or still (one unwobbled image: --bmp, --png;
                     the only kind of --svg)
  --wait S           seconds of finished model after a VTR replay (default 5)
  --smoothness N     VTR smoothness 0-12 (default 12): frame delay 18-N
                     hundredths of a second
  --size WxH         target size in pixels (default: the model&apos;s canvas size)
  --antialias        capture at canvas size and resize with smoothing
  --transparent      make the background transparent: GIF without --antialias;
                     WebP, APNG and PNG with real alpha; SVG without background
                     (not with --bmp)
  --quality Q        --webp only: lossy at quality 0-100 instead of lossless
  --no-wobble        --svg only: the vertices as stored, without their current
                     wobble offsets
  --seed N           seed of the wobble (0-4294967295) for reproducible output
  --quiet            no progress bar and no closing line
  --lang L           language of the messages: %1 (default: from the locale)
  -h, --help         show this help

On a terminal a progress bar goes to standard error. SIGINT and SIGTERM stop an
export without leaving a file behind. Exit status: 0 success, 1 the export or
writing the output failed, 2 bad arguments or a model that cannot be loaded,
130 after SIGINT, 143 after SIGTERM.
</translation>
    </message>
    <message>
        <source>no model file given</source>
        <translation>no model file given</translation>
    </message>
    <message>
        <source>exactly one model file expected</source>
        <translation>exactly one model file expected</translation>
    </message>
    <message>
        <source>give exactly one of --gif, --webp, --apng, --bmp, --png, --svg and --info</source>
        <translation>give exactly one of --gif, --webp, --apng, --bmp, --png, --svg and --info</translation>
    </message>
    <message>
        <source>--%1 is given more than once</source>
        <translation>--%1 is given more than once</translation>
    </message>
    <message>
        <source>the output path is empty</source>
        <translation>the output path is empty</translation>
    </message>
    <message>
        <source>--kind must be wobble, vtr or still, not &quot;%1&quot;</source>
        <translation>--kind must be wobble, vtr or still, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--kind still is for --bmp, --png and --svg only</source>
        <translation>--kind still is for --bmp, --png and --svg only</translation>
    </message>
    <message>
        <source>--svg writes the still image only: leave out --kind or give --kind still</source>
        <translation>--svg writes the still image only: leave out --kind or give --kind still</translation>
    </message>
    <message>
        <source>--wait must be a whole number of seconds</source>
        <translation>--wait must be a whole number of seconds</translation>
    </message>
    <message>
        <source>--smoothness must be a whole number from 0 to 12</source>
        <translation>--smoothness must be a whole number from 0 to 12</translation>
    </message>
    <message>
        <source>--size must be WIDTHxHEIGHT with both sides positive, e.g. 400x300</source>
        <translation>--size must be WIDTHxHEIGHT with both sides positive, e.g. 400x300</translation>
    </message>
    <message>
        <source>--seed must be a number from 0 to 4294967295</source>
        <translation>--seed must be a number from 0 to 4294967295</translation>
    </message>
    <message>
        <source>--quality is for --webp only</source>
        <translation>--quality is for --webp only</translation>
    </message>
    <message>
        <source>--quality must be a whole number from 0 to 100</source>
        <translation>--quality must be a whole number from 0 to 100</translation>
    </message>
    <message>
        <source>--no-wobble is for --svg only (still images are never wobbled)</source>
        <translation>--no-wobble is for --svg only (still images are never wobbled)</translation>
    </message>
    <message>
        <source>--transparent needs a format with transparency; BMP has none</source>
        <translation>--transparent needs a format with transparency; BMP has none</translation>
    </message>
    <message>
        <source>--lang must be one of %1, not &quot;%2&quot;</source>
        <translation>--lang must be one of %1, not &quot;%2&quot;</translation>
    </message>
    <message>
        <source>Try &apos;rektool-export --help&apos;.</source>
        <translation>Try &apos;rektool-export --help&apos;.</translation>
    </message>
    <message>
        <source>cannot write to standard output: %1</source>
        <translation>cannot write to standard output: %1</translation>
    </message>
    <message>
        <source>%1 file written to %2</source>
        <translation>%1 file written to %2</translation>
    </message>
    <message>
        <source>%1 files written to %2</source>
        <translation>%1 files written to %2</translation>
    </message>
    <message>
        <source>%1 frame written to %2</source>
        <translation>%1 frame written to %2</translation>
    </message>
    <message>
        <source>%1 frames written to %2</source>
        <translation>%1 frames written to %2</translation>
    </message>
    <message>
        <source>the file cannot be opened</source>
        <translation>the file cannot be opened</translation>
    </message>
    <message>
        <source>stopped by %1; nothing was written</source>
        <translation>stopped by %1; nothing was written</translation>
    </message>
    <message>
        <source>the export failed</source>
        <translation>the export failed</translation>
    </message>
</context>
<context>
    <name>ExportMessages</name>
    <message>
        <source>コマ数が多すぎます（%1コマ）。
一度に作成できるのは%2コマまでです。</source>
        <translation>Too many frames (%1).
At most %2 frames can be made at once.</translation>
    </message>
    <message>
        <source>「%1」
%2</source>
        <translation>“%1”
%2</translation>
    </message>
    <message>
        <source>メモリが足りません。
この設定では約%1MBのメモリが必要ですが、使用できるのは約%2MBです。
画像を小さくするか、コマ数を減らしてください。</source>
        <translation>Not enough memory.
These settings need about %1 MB, but only about %2 MB is available.
Make the image smaller or use fewer frames.</translation>
    </message>
    <message>
        <source>画像データを作成中………</source>
        <translation>Drawing the frames...</translation>
    </message>
    <message>
        <source>GIFファイルを保存中………長時間かかります………</source>
        <translation>Saving the GIF file... this can take a while...</translation>
    </message>
    <message>
        <source>ファイルを保存中………</source>
        <translation>Saving the file...</translation>
    </message>
    <message>
        <source>作業完了！</source>
        <translation>Done!</translation>
    </message>
    <message>
        <source>上記内容を確認し、「作成」ボタンを押してください。</source>
        <translation>Check the settings above, then press Create.</translation>
    </message>
    <message>
        <source>中止しました。</source>
        <translation>Stopped.</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>GIFファイル(%1)</source>
        <translation>GIF files (%1)</translation>
    </message>
    <message>
        <source>BMPファイル(%1)</source>
        <translation>BMP files (%1)</translation>
    </message>
    <message>
        <source>WebPファイル(%1)</source>
        <translation>WebP files (%1)</translation>
    </message>
    <message>
        <source>APNGファイル(%1)</source>
        <translation>APNG files (%1)</translation>
    </message>
    <message>
        <source>PNGファイル(%1)</source>
        <translation>PNG files (%1)</translation>
    </message>
    <message>
        <source>SVGファイル(%1)</source>
        <translation>SVG files (%1)</translation>
    </message>
    <message>
        <source>ファイル名が入力されていません。</source>
        <translation>No file name given.</translation>
    </message>
    <message>
        <source>フォルダーの名前です。
保存するファイルの名前を入力してください。</source>
        <translation>This is the name of a folder.
Enter the name of the file to save.</translation>
    </message>
    <message>
        <source>ファイル名が長すぎます。</source>
        <translation>The file name is too long.</translation>
    </message>
    <message>
        <source>静止画はアニメーションWebP・APNGファイルでは作成できません。</source>
        <translation>A still image cannot be saved as an animated WebP or APNG file.</translation>
    </message>
    <message>
        <source>SVGファイルで作成できるのは静止画だけです。</source>
        <translation>An SVG file can hold a still image only.</translation>
    </message>
    <message>
        <source>BMPファイルでは背景色を透明にできません。</source>
        <translation>BMP files cannot have a transparent background.</translation>
    </message>
    <message>
        <source>画質はWebPファイルにだけ、0から100までの値で指定できます。</source>
        <translation>A quality can be given for WebP files only, from 0 to 100.</translation>
    </message>
    <message>
        <source>作成されるコマ数が0のため、アニメーションファイルを作成できません。
VTR終了後の待ち時間を長くしてください。</source>
        <translation>The animation would have no frames, so it cannot be made.
Make the wait after the replay longer.</translation>
    </message>
    <message>
        <source>WebPファイルの幅と高さは16383以下にしてください。</source>
        <translation>The width and height of a WebP file must be 16383 or less.</translation>
    </message>
    <message>
        <source>画像作成時の作業画面用メモリが確保できません。</source>
        <translation>Not enough memory to draw the image.</translation>
    </message>
    <message>
        <source>画像作成時のコマ画像用メモリが確保できません。</source>
        <translation>Not enough memory for the frames.</translation>
    </message>
    <message>
        <source>画像の圧縮に失敗しました。</source>
        <translation>The image could not be compressed.</translation>
    </message>
    <message>
        <source>アニメーションの種類が不正です。</source>
        <translation>Unknown kind of animation.</translation>
    </message>
    <message>
        <source>静止画はGIFファイルでは作成できません。</source>
        <translation>A still image cannot be saved as a GIF file.</translation>
    </message>
    <message>
        <source>VTR終了後の待ち時間の値が不正です。</source>
        <translation>The wait after the replay is not valid.</translation>
    </message>
    <message>
        <source>VTR終了後の待ち時間は86400秒以下にしてください。</source>
        <translation>The wait after the replay must be 86400 seconds or less.</translation>
    </message>
    <message>
        <source>VTRのなめらかさの値が不正です。</source>
        <translation>The replay smoothness is not valid.</translation>
    </message>
    <message>
        <source>画像の幅の値が不正です。</source>
        <translation>The image width is not valid.</translation>
    </message>
    <message>
        <source>画像の高さの値が不正です。</source>
        <translation>The image height is not valid.</translation>
    </message>
    <message>
        <source>画像が大きすぎます。
幅と高さはそれぞれ16384以下、幅×高さは67108864以下にしてください。</source>
        <translation>The image is too large.
Width and height must be 16384 or less, and width × height 67108864 or less.</translation>
    </message>
    <message>
        <source>作成されるコマ数が0のため、GIFファイルを作成できません。
VTR終了後の待ち時間を長くしてください。</source>
        <translation>The GIF file would have no frames, so it cannot be made.
Make the wait after the replay longer.</translation>
    </message>
    <message>
        <source>GIF作成時の作業画面用メモリが確保できません。</source>
        <translation>Not enough memory to draw the GIF image.</translation>
    </message>
    <message>
        <source>GIF作成時のコマ画像用メモリが確保できません。</source>
        <translation>Not enough memory for the GIF frames.</translation>
    </message>
    <message>
        <source>GIF作成時のアニメ情報用メモリが確保できません。</source>
        <translation>Not enough memory for the GIF animation.</translation>
    </message>
    <message>
        <source>BMP作成時の作業画面用メモリが確保できません。</source>
        <translation>Not enough memory to draw the BMP image.</translation>
    </message>
    <message>
        <source>BMP作成時のコマ画像用メモリが確保できません。</source>
        <translation>Not enough memory for the BMP frames.</translation>
    </message>
    <message>
        <source>「%1」
このファイルに書き込めませんでした。</source>
        <translation>“%1”
Could not write to this file.</translation>
    </message>
    <message>
        <source>「%1」
このファイルはすでに存在します。
上書きしますか？</source>
        <translation>“%1”
This file already exists.
Replace it?</translation>
    </message>
    <message>
        <source>アニメーションGIFファイルを作成しました。</source>
        <translation>The animated GIF file has been made.</translation>
    </message>
    <message>
        <source>アニメーションGIFファイルの作成に失敗しました。</source>
        <translation>The animated GIF file could not be made.</translation>
    </message>
    <message>
        <source>連番BMPファイルを作成しました。</source>
        <translation>The numbered BMP files have been made.</translation>
    </message>
    <message>
        <source>連番BMPファイルの作成に失敗しました。</source>
        <translation>The numbered BMP files could not be made.</translation>
    </message>
    <message>
        <source>アニメーションWebPファイルを作成しました。</source>
        <translation>The animated WebP file has been made.</translation>
    </message>
    <message>
        <source>アニメーションWebPファイルの作成に失敗しました。</source>
        <translation>The animated WebP file could not be made.</translation>
    </message>
    <message>
        <source>APNGファイルを作成しました。</source>
        <translation>The APNG file has been made.</translation>
    </message>
    <message>
        <source>APNGファイルの作成に失敗しました。</source>
        <translation>The APNG file could not be made.</translation>
    </message>
    <message>
        <source>連番PNGファイルを作成しました。</source>
        <translation>The numbered PNG files have been made.</translation>
    </message>
    <message>
        <source>連番PNGファイルの作成に失敗しました。</source>
        <translation>The numbered PNG files could not be made.</translation>
    </message>
    <message>
        <source>SVGファイルを作成しました。</source>
        <translation>The SVG file has been made.</translation>
    </message>
    <message>
        <source>SVGファイルの作成に失敗しました。</source>
        <translation>The SVG file could not be made.</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>レクツール</source>
        <translation>RekTool</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>頂点の数：%1</source>
        <translation>Vertices: %1</translation>
    </message>
    <message>
        <source>レクモデルファイルではありません。</source>
        <translation>Not a rek model file.</translation>
    </message>
    <message>
        <source>正しいレクモデルファイルではありません。</source>
        <translation>Not a valid rek model file.</translation>
    </message>
    <message>
        <source>より新しいバージョンのレクモデルです。
最新のレクツールで読み込んでください。</source>
        <translation>This rek model was made by a newer version.
Open it with the latest RekTool.</translation>
    </message>
    <message>
        <source>読み込み時の頂点用のメモリが確保できません。</source>
        <translation>Not enough memory for the vertices of the file.</translation>
    </message>
    <message>
        <source>ファイルを保存できませんでした。</source>
        <translation>The file could not be saved.</translation>
    </message>
    <message>
        <source>頂点用のメモリが確保できません。</source>
        <translation>Not enough memory for the vertices.</translation>
    </message>
    <message>
        <source>レクモデルファイルの読み込み</source>
        <translation>Open Rek Model</translation>
    </message>
    <message>
        <source>レクモデルファイルの保存</source>
        <translation>Save Rek Model</translation>
    </message>
    <message>
        <source>レクツール関係ファイル(*.rkm,*rk2)</source>
        <translation>RekTool files (*.rkm, *.rk2)</translation>
    </message>
    <message>
        <source>レクモデルファイル(*.rkm)</source>
        <translation>Rek models (*.rkm)</translation>
    </message>
    <message>
        <source>旧レクツールファイル(*.rk2)</source>
        <translation>Old RekTool files (*.rk2)</translation>
    </message>
    <message>
        <source>レクモデルがありません。</source>
        <translation>The model is empty.</translation>
    </message>
    <message>
        <source>変更されたファイルを保存しますか？</source>
        <translation>Save changes to the file?</translation>
    </message>
    <message>
        <source>%1 は既に存在します。
上書きしますか？</source>
        <translation>%1 already exists.
Replace it?</translation>
    </message>
    <message>
        <source>複数起動は禁止されています。</source>
        <translation>RekTool is already running.</translation>
    </message>
    <message>
        <source>前回、保存されていない変更がありました。復元しますか？

%1（%2）</source>
        <translation>There were unsaved changes last time. Restore them?

%1 (%2)</translation>
    </message>
    <message>
        <source>復元</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>破棄</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>後で</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>復元用のデータを読み込めませんでした。
次のフォルダに残してあります：
%1</source>
        <translation>The recovery data could not be read.
It has been kept in this folder:
%1</translation>
    </message>
    <message>
        <source>レクモデルの幅は 10～800 の値にしてください。</source>
        <translation>The width must be from 10 to 800.</translation>
    </message>
    <message>
        <source>レクモデルの高さは 10～600 の値にしてください。</source>
        <translation>The height must be from 10 to 600.</translation>
    </message>
    <message>
        <source>レクモデルファイル(～.rkm)を
現在起動中のレクツールに関連付けました。</source>
        <translation>Rek model files (.rkm) now open
with this RekTool.</translation>
    </message>
    <message>
        <source>レクモデルファイル(～.rkm)の関連付け情報を削除しました。</source>
        <translation>Rek model files (.rkm) are no longer associated with RekTool.</translation>
    </message>
    <message>
        <source>プログラムまたはデータフォルダの場所が分かりません。</source>
        <translation>The program or data folder cannot be found.</translation>
    </message>
    <message>
        <source>データフォルダの場所が分かりません。</source>
        <translation>The data folder cannot be found.</translation>
    </message>
    <message>
        <source>フォルダを作成できません: %1</source>
        <translation>Cannot create the folder: %1</translation>
    </message>
    <message>
        <source>書き込めません: %1</source>
        <translation>Cannot write: %1</translation>
    </message>
    <message>
        <source>削除できません: %1</source>
        <translation>Cannot delete: %1</translation>
    </message>
    <message>
        <source>%1 を起動できません。</source>
        <translation>%1 cannot be started.</translation>
    </message>
    <message>
        <source>%1 が応答しません。</source>
        <translation>%1 does not respond.</translation>
    </message>
    <message>
        <source>%1 が失敗しました。</source>
        <translation>%1 failed.</translation>
    </message>
    <message>
        <source>レクモデルファイル(～.rkm)を関連付けられませんでした。</source>
        <translation>Rek model files (.rkm) could not be associated.</translation>
    </message>
    <message>
        <source>レクモデルファイル(～.rkm)の関連付け情報を削除できませんでした。</source>
        <translation>The association of rek model files (.rkm) could not be removed.</translation>
    </message>
</context>
<context>
    <name>rek::AboutBox</name>
    <message>
        <source>レクツール developers</source>
        <translation>RekTool developers</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About RekTool</translation>
    </message>
    <message>
        <source>ご意見・ご感想・バグ情報</source>
        <translation>Feedback and bugs</translation>
    </message>
    <message>
        <source>時間に余裕のある人は</source>
        <translation>Further reading</translation>
    </message>
</context>
<context>
    <name>rek::BmpExportDialog</name>
    <message>
        <source>連番BMPファイルの作成</source>
        <translation>Numbered BMP Files</translation>
    </message>
    <message>
        <source>連番BMPファイル保存先：</source>
        <translation>Save the numbered BMP files as:</translation>
    </message>
    <message>
        <source>作成されるBMPファイル</source>
        <translation>BMP files to be made</translation>
    </message>
    <message>
        <source>枚</source>
        <translation>files</translation>
    </message>
    <message>
        <source>連番BMPファイルのプロパティ</source>
        <translation>BMP file properties</translation>
    </message>
    <message>
        <source>連番BMPファイルの保存</source>
        <translation>Save Numbered BMP Files</translation>
    </message>
    <message>
        <source>静止画</source>
        <translation>Still image</translation>
    </message>
    <message>
        <source>合計</source>
        <translation>Total</translation>
    </message>
</context>
<context>
    <name>rek::ColorDialog</name>
    <message>
        <source>色選択</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>色見本</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>色見本をクリックするか、
ＲＧＢバーを操作して色を選んでください。</source>
        <translation>Click a sample or move the
RGB sliders to choose a colour.</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>rek::ExportDialog</name>
    <message>
        <source>参照</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>アニメーションの種類</source>
        <translation>Kind of animation</translation>
    </message>
    <message>
        <source>揺れアニメーション</source>
        <translation>Wobble</translation>
    </message>
    <message>
        <source>VTRアニメーション</source>
        <translation>VTR replay</translation>
    </message>
    <message>
        <source>VTR終了後の待ち時間</source>
        <translation>Wait after the replay</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>seconds</translation>
    </message>
    <message>
        <source>VTRのなめらかさ</source>
        <translation>Replay smoothness</translation>
    </message>
    <message>
        <source>幅</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>高さ</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>幅と高さの比率を保持してサイズ変更</source>
        <translation>Resizing keeps the ratio of width and height</translation>
    </message>
    <message>
        <source>元の大きさに戻す</source>
        <translation>Original size</translation>
    </message>
    <message>
        <source>アンチエリアシングあり（サイズ変更時）</source>
        <translation>Anti-aliasing (when resized)</translation>
    </message>
    <message>
        <source>アンチエリアシングなし</source>
        <translation>No anti-aliasing</translation>
    </message>
    <message>
        <source>作成</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>rek::GifExportDialog</name>
    <message>
        <source>アニメーションGIFファイル作成</source>
        <translation>Animated GIF File</translation>
    </message>
    <message>
        <source>GIFファイル保存先：</source>
        <translation>Save the GIF file as:</translation>
    </message>
    <message>
        <source>現在のアニメーション数</source>
        <translation>Frames in the animation</translation>
    </message>
    <message>
        <source>コマ</source>
        <translation>frames</translation>
    </message>
    <message>
        <source>GIFファイルのプロパティ</source>
        <translation>GIF file properties</translation>
    </message>
    <message>
        <source>アニメーションGIFファイルの保存</source>
        <translation>Save Animated GIF File</translation>
    </message>
    <message>
        <source>アニメーションのコマ数が増えるほど、ファイルサイズが大きくなります</source>
        <translation>The more frames the animation has, the larger the file.</translation>
    </message>
    <message>
        <source>背景色を透明にする</source>
        <translation>Transparent background</translation>
    </message>
</context>
<context>
    <name>rek::PropertiesDialog</name>
    <message>
        <source>新規作成するレクモデルのプロパティ</source>
        <translation>Properties of the New Model</translation>
    </message>
    <message>
        <source>レクモデルのプロパティ</source>
        <translation>Model Properties</translation>
    </message>
    <message>
        <source>大きさ</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>幅</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>高さ</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>最小 10×10 ～ 最大 800×600</source>
        <translation>From 10×10 to 800×600</translation>
    </message>
    <message>
        <source>線の太さ</source>
        <translation>Line width</translation>
    </message>
    <message>
        <source>揺れ具合</source>
        <translation>Wobble</translation>
    </message>
    <message>
        <source>VTRの速さ</source>
        <translation>VTR speed</translation>
    </message>
    <message>
        <source>色</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>直線</source>
        <translation>Lines</translation>
    </message>
    <message>
        <source>影</source>
        <translation>Shadow</translation>
    </message>
    <message>
        <source>背景</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>影を表示しない</source>
        <translation>No shadow</translation>
    </message>
    <message>
        <source>影の色を自動調整</source>
        <translation>Match shadow colour</translation>
    </message>
    <message>
        <source>標準の配色に戻す</source>
        <translation>Standard colours</translation>
    </message>
    <message>
        <source>すべて標準に戻す</source>
        <translation>All standard</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>rek::SettingsDialog</name>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>ファイルを開いた時にVTRモードにする</source>
        <translation>Replay a file when it is opened</translation>
    </message>
    <message>
        <source>関連付け</source>
        <translation>File association</translation>
    </message>
    <message>
        <source>レクモデルファイルをレクツールに関連付ける</source>
        <translation>Open rek model files with RekTool</translation>
    </message>
    <message>
        <source>関連付けを解除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>ファイルを関連付けるとダブルクリックで開けるようになります</source>
        <translation>Associated files open with a double click</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
</TS>
