<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>DipSwitches</name>
    <message>
        <source>16接点入力</source>
        <translation>16-contact input</translation>
    </message>
    <message>
        <source>バイナリ入力</source>
        <translation>Binary input</translation>
    </message>
    <message>
        <source>ストローブ優先</source>
        <translation>Strobe first</translation>
    </message>
    <message>
        <source>2回発射</source>
        <translation>Fire twice</translation>
    </message>
    <message>
        <source>4回発射</source>
        <translation>Fire 4 times</translation>
    </message>
    <message>
        <source>6回発射</source>
        <translation>Fire 6 times</translation>
    </message>
</context>
<context>
    <name>FileDialogs</name>
    <message>
        <source>ｶﾝﾏ形式ﾃﾞｰﾀﾌｧｲﾙ (*.Csv)</source>
        <translation>Comma-separated data file (*.Csv)</translation>
    </message>
    <message>
        <source>ﾃｷｽﾄﾌｧｲﾙ (*.Txt)</source>
        <translation>Text file (*.Txt)</translation>
    </message>
    <message>
        <source>Firmware File (*.Hex)</source>
        <translation>Firmware File (*.Hex)</translation>
    </message>
    <message>
        <source>Sound File (*.Wav)</source>
        <translation>Sound File (*.Wav)</translation>
    </message>
    <message>
        <source>ﾘﾓｺﾝ波形ｲﾒｰｼﾞﾌｧｲﾙ (*.Bmp)</source>
        <translation>Remote waveform image file (*.Bmp)</translation>
    </message>
    <message>
        <source>USB Driver File (*.Exe)</source>
        <translation>USB Driver File (*.Exe)</translation>
    </message>
    <message>
        <source>全てのﾌｧｲﾙ (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
</context>
<context>
    <name>FirmwareUpdate</name>
    <message>
        <source>Can&apos;t open ... </source>
        <translation>Can&apos;t open ... </translation>
    </message>
    <message>
        <source>このファームウェアファイルは使用できません。</source>
        <translation>This firmware file cannot be used.</translation>
    </message>
    <message>
        <source>通信が途絶えました。</source>
        <translation>The serial line was lost.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>ボードには何も送信していません。</source>
        <translation>Nothing has been sent to the board.</translation>
    </message>
    <message>
        <source>QUVAN-ARM と通信出来ません。</source>
        <translation>Cannot communicate with QUVAN-ARM.</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Update the firmware of QUVAN-ARM.</source>
        <translation>Update the firmware of QUVAN-ARM.</translation>
    </message>
    <message>
        <source>ボードと通信できません。</source>
        <translation>The board cannot be reached.</translation>
    </message>
    <message>
        <source>QUVAN-Loader が %1 秒以内に応答しませんでした。
ボードとケーブルを確認してから、もう一度実行して下さい。</source>
        <translation>QUVAN-Loader did not answer within %1 seconds.
Check the board and the cable, then try again.</translation>
    </message>
    <message>
        <source>QUVAN-Loader から応答がありません</source>
        <translation>No answer from QUVAN-Loader</translation>
    </message>
    <message>
        <source>Now Downloading ...</source>
        <translation>Now Downloading ...</translation>
    </message>
    <message>
        <source>%1 行目の送信で通信に失敗しました。</source>
        <translation>The serial line failed at line %1.</translation>
    </message>
    <message>
        <source>最後のレコードを送信できませんでした。</source>
        <translation>The serial line did not send the last records.</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Failure</translation>
    </message>
    <message>
        <source>Completed</source>
        <translation>Completed</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>HexFile</name>
    <message>
        <source>レコードではありません（&apos;:&apos; で始まっていません）</source>
        <translation>the line is not a record (it does not start with &apos;:&apos;)</translation>
    </message>
    <message>
        <source>%1 文字目 (%2) は16進数の数字ではありません</source>
        <translation>character %1 (%2) is not a hex digit</translation>
    </message>
    <message>
        <source>レコードの16進数の桁数が奇数です</source>
        <translation>the record has an odd number of hex digits</translation>
    </message>
    <message>
        <source>レコードが短すぎます</source>
        <translation>the record is too short</translation>
    </message>
    <message>
        <source>バイト数は %1 ですが、行のデータは %2 バイトです</source>
        <translation>the byte count says %1 data bytes but the line holds %2</translation>
    </message>
    <message>
        <source>チェックサムが %1 ですが、レコードの内容からは %2 です</source>
        <translation>the checksum is %1 but the record&apos;s bytes need %2</translation>
    </message>
    <message>
        <source>レコードタイプ %1 は使えません（00, 01, 02, 04, 05 のみ）</source>
        <translation>record type %1 is not allowed (only 00, 01, 02, 04 and 05)</translation>
    </message>
    <message>
        <source>タイプ %1 のレコードのデータは %2 バイトです（%3 バイトあります）</source>
        <translation>a record of type %1 must hold %2 data bytes, not %3</translation>
    </message>
    <message>
        <source>%1 行目: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>ファイルが空です</source>
        <translation>the file is empty</translation>
    </message>
    <message>
        <source>ファイルに終了レコード (:00000001FF) がありません</source>
        <translation>the file has no end-of-file record (:00000001FF)</translation>
    </message>
</context>
<context>
    <name>Learning</name>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>学習の信頼性が低いです。リモコンのボタンを１秒以上押して下さい。</source>
        <translation>The capture may not be reliable. Hold the remote control button down for at least one second.</translation>
    </message>
    <message>
        <source>学習完了しました。
リモコンのボタンを離して下さい。</source>
        <translation>Learning is complete.
Release the remote control button.</translation>
    </message>
    <message>
        <source>Ave.: 解析する波形がありません</source>
        <translation>Ave.: no capture to analyse</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>学習出来ません。</source>
        <translation>Cannot learn this signal.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; は有効なキャリア周波数ではありません</source>
        <translation>&apos;%1&apos; is not a valid carrier frequency</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>QUVANと通信出来ません</source>
        <translation>Cannot communicate with QUVAN</translation>
    </message>
    <message>
        <source>テーブルに空き行がありません。
学習を終了しました。</source>
        <translation>The table has no blank row left.
Learning has stopped.</translation>
    </message>
</context>
<context>
    <name>MainWidgets</name>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新規作成 (&amp;New)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>ファイルを開く (&amp;Open)</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>ファイルに保存 (&amp;Save)</source>
        <translation>&amp;Save...</translation>
    </message>
    <message>
        <source>インポート (&amp;Import)...</source>
        <translation>&amp;Import...</translation>
    </message>
    <message>
        <source>エクスポート (&amp;Export)...</source>
        <translation>&amp;Export...</translation>
    </message>
    <message>
        <source>通信設定 (&amp;Com)</source>
        <translation>&amp;Communication Settings...</translation>
    </message>
    <message>
        <source>&amp;USB Driver Install</source>
        <translation>&amp;USB Driver Install</translation>
    </message>
    <message>
        <source>&amp;Firmware Update (ファームウェアの更新)</source>
        <translation>&amp;Firmware Update</translation>
    </message>
    <message>
        <source>終了 (&amp;Quit)</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>操作(&amp;A)</source>
        <translation>&amp;Actions</translation>
    </message>
    <message>
        <source>学習 On/Off (&amp;L)</source>
        <translation>&amp;Learning On/Off</translation>
    </message>
    <message>
        <source>発射テスト (&amp;T)</source>
        <translation>Fire &amp;Test</translation>
    </message>
    <message>
        <source>波形を拡大 (&amp;I)</source>
        <translation>Zoom &amp;In</translation>
    </message>
    <message>
        <source>波形を縮小 (&amp;O)</source>
        <translation>Zoom &amp;Out</translation>
    </message>
    <message>
        <source>次の行 (&amp;N)</source>
        <translation>&amp;Next Row</translation>
    </message>
    <message>
        <source>前の行 (&amp;P)</source>
        <translation>&amp;Previous Row</translation>
    </message>
    <message>
        <source>オプション(&amp;O)</source>
        <translation>&amp;Option</translation>
    </message>
    <message>
        <source>&amp;DIP Switch Setup</source>
        <translation>&amp;DIP Switch Setup</translation>
    </message>
    <message>
        <source>&amp;SystemPath Setup</source>
        <translation>&amp;SystemPath Setup</translation>
    </message>
    <message>
        <source>&amp;CsvFile Path</source>
        <translation>&amp;CsvFile Path</translation>
    </message>
    <message>
        <source>&amp;HexFile Path</source>
        <translation>&amp;HexFile Path</translation>
    </message>
    <message>
        <source>&amp;SoundFile Path</source>
        <translation>&amp;SoundFile Path</translation>
    </message>
    <message>
        <source>言語 (&amp;Language)</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>次回の起動から有効になります</source>
        <translation>Takes effect the next time the tool starts</translation>
    </message>
    <message>
        <source>発射テスト</source>
        <translation>Fire Test</translation>
    </message>
    <message>
        <source>カーソル行の信号を、チェックした出力から発射します</source>
        <translation>Fires the signal of the cursor row from the ticked outputs</translation>
    </message>
    <message>
        <source>IR%1</source>
        <translation>IR%1</translation>
    </message>
    <message>
        <source>発射テストで出力 IR%1 を使います</source>
        <translation>Fire Test uses output IR%1</translation>
    </message>
    <message>
        <source>Cursor Auto</source>
        <translation>Cursor Auto</translation>
    </message>
    <message>
        <source>学習が終わると次の空き行に移り、学習を続けます</source>
        <translation>After each capture, moves to the next blank row and keeps learning</translation>
    </message>
    <message>
        <source>QUVANに登録</source>
        <translation>Write QUVAN</translation>
    </message>
    <message>
        <source>テーブルの学習情報を QUVAN に登録します</source>
        <translation>Writes the learning table into the QUVAN board</translation>
    </message>
    <message>
        <source>QUVAN読込み</source>
        <translation>Read QUVAN</translation>
    </message>
    <message>
        <source>QUVAN に登録されている学習情報をテーブルに読込みます</source>
        <translation>Reads the learning table back from the QUVAN board</translation>
    </message>
    <message>
        <source>Table 印刷</source>
        <translation>Print Table</translation>
    </message>
    <message>
        <source>テーブルを印刷します</source>
        <translation>Prints the learning table</translation>
    </message>
    <message>
        <source>RF-ID</source>
        <translation>RF-ID</translation>
    </message>
    <message>
        <source>QUVAN の RF-ID 機能をオン/オフします</source>
        <translation>Switches the board&apos;s RF-ID function on or off</translation>
    </message>
    <message>
        <source>PCode</source>
        <translation>PCode</translation>
    </message>
    <message>
        <source>フォーマットを認識せず、Pattern Code をそのまま Result に表示します</source>
        <translation>Shows the pattern codes in Result as they are, without recognising a format</translation>
    </message>
    <message>
        <source>ダブルクリックで、その他のオプションを表示/非表示にします</source>
        <translation>Double-click to show or hide more options</translation>
    </message>
    <message>
        <source>クリックで学習を開始/終了します</source>
        <translation>Click to switch learning on or off</translation>
    </message>
    <message>
        <source>学習確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>学習が終わるとメッセージで知らせます（オフのときは音だけ）</source>
        <translation>Shows a message when a capture is complete (otherwise only a sound)</translation>
    </message>
    <message>
        <source>＜</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>波形を拡大します</source>
        <translation>Zooms the waveform in</translation>
    </message>
    <message>
        <source>波形の表示倍率（1ピクセルあたりの µs）</source>
        <translation>Zoom of the waveform (µs per pixel)</translation>
    </message>
    <message>
        <source>＞</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>波形を縮小します</source>
        <translation>Zooms the waveform out</translation>
    </message>
    <message>
        <source>学習時間の経過</source>
        <translation>Time of the capture so far</translation>
    </message>
    <message>
        <source>H:</source>
        <translation>H:</translation>
    </message>
    <message>
        <source>W:</source>
        <translation>W:</translation>
    </message>
    <message>
        <source>Time(ms):</source>
        <translation>Time(ms):</translation>
    </message>
    <message>
        <source>マーク時間の許容誤差 (%)</source>
        <translation>Tolerance of the mark time, %</translation>
    </message>
    <message>
        <source>周期の許容誤差 (%)</source>
        <translation>Tolerance of the period, %</translation>
    </message>
    <message>
        <source>学習時間 (ms)</source>
        <translation>Learning time, ms</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>波形と受信ログを消去します</source>
        <translation>Clears the waveforms and the receive log</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>波形データのウィンドウを開きます</source>
        <translation>Opens the wave data window</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>波形をテキストファイルに保存します</source>
        <translation>Saves the waveforms to a text file</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>波形を印刷します</source>
        <translation>Prints the waveforms</translation>
    </message>
    <message>
        <source>CodeCheck</source>
        <translation>CodeCheck</translation>
    </message>
    <message>
        <source>学習した信号を各行の Result と照合します（テーブルには書込みません）</source>
        <translation>Checks each capture against the Result of its row (the table is not written)</translation>
    </message>
    <message>
        <source>FullCode</source>
        <translation>FullCode</translation>
    </message>
    <message>
        <source>全てのフレームのコードを表示します（フレームごとに受信ログにも）</source>
        <translation>Shows the code of every frame (each frame also goes to the receive log)</translation>
    </message>
    <message>
        <source>Eiritsu</source>
        <translation>Eiritsu</translation>
    </message>
    <message>
        <source>Eiritsu 方式の時間サンプリングで解読します</source>
        <translation>Decodes Eiritsu codes by time sampling</translation>
    </message>
    <message>
        <source>Philips</source>
        <translation>Philips</translation>
    </message>
    <message>
        <source>Philips（バイフェーズ）方式の時間サンプリングで解読します</source>
        <translation>Decodes Philips (bi-phase) codes by time sampling</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>Serial</translation>
    </message>
    <message>
        <source>シリアル方式の時間サンプリングで解読します</source>
        <translation>Decodes serial codes by time sampling</translation>
    </message>
    <message>
        <source>MultiHeader</source>
        <translation>MultiHeader</translation>
    </message>
    <message>
        <source>フォーマットを認識せず、Pattern Code を Result に表示します</source>
        <translation>Shows the pattern codes in Result without recognising a format</translation>
    </message>
    <message>
        <source>Ts:</source>
        <translation>Ts:</translation>
    </message>
    <message>
        <source>Ts: 最初のサンプルの位置 (µs)</source>
        <translation>Ts: where the first sample is taken, µs</translation>
    </message>
    <message>
        <source>Tw:</source>
        <translation>Tw:</translation>
    </message>
    <message>
        <source>Tw: サンプルの間隔 (µs)</source>
        <translation>Tw: time between samples, µs</translation>
    </message>
    <message>
        <source>Bits:</source>
        <translation>Bits:</translation>
    </message>
    <message>
        <source>Bits: 1フレームのビット数</source>
        <translation>Bits: bits in a frame</translation>
    </message>
    <message>
        <source>1バイトのビット数（Serial）</source>
        <translation>Bits in a byte (Serial)</translation>
    </message>
    <message>
        <source>右クリックで始点、左クリックで終点を置き、その間の時間を測ります</source>
        <translation>Right-click sets the start mark and left-click the end mark; the time between them is measured</translation>
    </message>
    <message>
        <source>QUVANに送信</source>
        <translation>Send to QUVAN</translation>
    </message>
    <message>
        <source>入力したコマンドを QUVAN に送信します</source>
        <translation>Sends the typed command to the board</translation>
    </message>
    <message>
        <source>QUVAN に送るコマンド（受信ログの m: で始まる行をダブルクリックすると、その発射コマンドが入ります）</source>
        <translation>Command for the board (double-clicking a receive-log line that starts with m: puts its firing command here)</translation>
    </message>
    <message>
        <source>受信ログを消去します</source>
        <translation>Clears the receive log</translation>
    </message>
    <message>
        <source>ダブルクリックでモニターモードを切り替えます</source>
        <translation>Double-click to switch the monitor mode on or off</translation>
    </message>
    <message>
        <source>コピー: %1</source>
        <translation>Copy: %1</translation>
    </message>
    <message>
        <source>解析の許容誤差と学習時間</source>
        <translation>Analysis tolerances and learning time</translation>
    </message>
</context>
<context>
    <name>PortAdvice</name>
    <message>
        <source>%1 を開く権限がありません。</source>
        <translation>You have no permission to open %1.</translation>
    </message>
    <message>
        <source>%1 は他のプログラムが使用中です。</source>
        <translation>%1 is in use by another program.</translation>
    </message>
    <message>
        <source>そのプログラムを終了してから、もう一度試して下さい。</source>
        <translation>Quit that program, then try again.</translation>
    </message>
    <message>
        <source>このデバイスは管理者 (root) しか使えない設定です。アクセス権を確認して下さい:
    ls -l %1</source>
        <translation>Only the administrator (root) may use this device. Check its permissions:
    ls -l %1</translation>
    </message>
    <message>
        <source>このユーザーは %1 グループに追加済みですが、まだ反映されていません。
ログアウトしてから、もう一度ログインして下さい。</source>
        <translation>This user was added to the %1 group, but it has not taken effect yet.
Log out, then log in again.</translation>
    </message>
    <message>
        <source>このユーザーは %1 グループに入っていません。次のコマンドで加えてから、
ログアウトして、もう一度ログインして下さい:
    sudo adduser $USER %1</source>
        <translation>This user is not in the %1 group. Add it with the following command,
then log out and log in again:
    sudo adduser $USER %1</translation>
    </message>
    <message>
        <source>%1 (アクセス権なし)</source>
        <translation>%1 (no permission)</translation>
    </message>
    <message>
        <source>%1 (使用中)</source>
        <translation>%1 (in use)</translation>
    </message>
</context>
<context>
    <name>ReadBack</name>
    <message>
        <source>読込みエラー No.%1: </source>
        <translation>Read error No.%1: </translation>
    </message>
    <message>
        <source>応答が途中で終わりました</source>
        <translation>the reply stopped short</translation>
    </message>
    <message>
        <source>読めない行「%1」</source>
        <translation>unreadable line &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Twd:がありません</source>
        <translation>no Twd:</translation>
    </message>
    <message>
        <source>Twd:(%1/%2桁)</source>
        <translation>Twd: (%1/%2 digits)</translation>
    </message>
    <message>
        <source>読込み不完全</source>
        <translation>Incomplete read</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>読込み完了しました。</source>
        <translation>The table has been read.</translation>
    </message>
    <message>
        <source>読込みを中止しました。
応答のあったエントリー: %1 / %2</source>
        <translation>Reading was stopped.
Entries answered: %1 / %2</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>QUVANから応答がありません。
応答のあったエントリー: %1 / %2
読込みを終了しました。</source>
        <translation>No answer from QUVAN.
Entries answered: %1 / %2
Reading has ended.</translation>
    </message>
    <message>
        <source>QUVANから読込み終了の応答(ZEM:off)がありませんでした。
応答のあったエントリー: %1 / %2
読込みを終了しました。</source>
        <translation>QUVAN did not confirm the end of reading (ZEM:off).
Entries answered: %1 / %2
Reading has ended.</translation>
    </message>
    <message>
        <source>QUVANとの通信が途絶えました。
応答のあったエントリー: %1 / %2</source>
        <translation>The connection to QUVAN was lost.
Entries answered: %1 / %2</translation>
    </message>
    <message>
        <source>正しく読めなかった行が %1 行あります（Comments 欄に表示）。</source>
        <translation>%1 rows could not be read correctly (marked in Comments).</translation>
    </message>
</context>
<context>
    <name>Registration</name>
    <message>
        <source>確認</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>登録完了しました。</source>
        <translation>The table has been written.</translation>
    </message>
    <message>
        <source>登録を中止しました。</source>
        <translation>Writing was stopped.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>QUVANから応答がありません。
%1行目の登録でACKが返りませんでした。
登録できたのは %2 行です。登録を中断しました。</source>
        <translation>No answer from QUVAN.
No ACK came for row %1.
%2 rows were written. Writing was stopped.</translation>
    </message>
    <message>
        <source>QUVANとの通信が途絶えました。
登録できたのは %1 行です。</source>
        <translation>The connection to QUVAN was lost.
%1 rows were written.</translation>
    </message>
</context>
<context>
    <name>SimulatedBoard</name>
    <message>
        <source>ボードのシミュレーター (quvan-sim) が見つかりません: %1</source>
        <translation>The board simulator (quvan-sim) was not found: %1</translation>
    </message>
    <message>
        <source>ボードのシミュレーターを起動できません: %1</source>
        <translation>The board simulator did not start: %1</translation>
    </message>
    <message>
        <source>ボードのシミュレーターがポートを知らせませんでした。</source>
        <translation>The board simulator did not announce its port.</translation>
    </message>
    <message>
        <source>ボードのシミュレーターの最初の行が想定と違います: %1</source>
        <translation>Unexpected first line from the board simulator: %1</translation>
    </message>
</context>
<context>
    <name>TableFile</name>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>QUVANのテーブルファイルでは有りません。
強制的に開きますか？</source>
        <translation>This is not a QUVAN table file.
Open it anyway?</translation>
    </message>
    <message>
        <source>File Error</source>
        <translation>File Error</translation>
    </message>
    <message>
        <source>Can&apos;t perform one of the following 
file operations: Open, Write, Close.</source>
        <translation>Can&apos;t perform one of the following 
file operations: Open, Write, Close.</translation>
    </message>
</context>
<context>
    <name>UsbDriver</name>
    <message>
        <source>確認</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>USB Driver [ %1 ] Install</source>
        <translation>USB Driver [ %1 ] Install</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>USB Driver Not Found</source>
        <translation>USB Driver Not Found</translation>
    </message>
    <message>
        <source>Installation completed</source>
        <translation>Installation completed</translation>
    </message>
    <message>
        <source>Canceled the process</source>
        <translation>Canceled the process</translation>
    </message>
</context>
<context>
    <name>WaveEdit</name>
    <message>
        <source>%1 は 0 ～ %2 の数で入力して下さい。</source>
        <translation>Enter a number from 0 to %2 for %1.</translation>
    </message>
    <message>
        <source>Pattern Code は %1 桁までです（%2 桁あります）。</source>
        <translation>Pattern Code takes at most %1 digits (it has %2).</translation>
    </message>
    <message>
        <source>Pattern Code の %1 文字目「%2」は16進数の数字ではありません。</source>
        <translation>Character %1 of Pattern Code (&apos;%2&apos;) is not a hexadecimal digit.</translation>
    </message>
    <message>
        <source>Pattern Code の %1 文字目は16進数の数字ではありません。</source>
        <translation>Character %1 of Pattern Code is not a hexadecimal digit.</translation>
    </message>
</context>
<context>
    <name>quvan::app::DiagnosisDialog</name>
    <message>
        <source>診断</source>
        <translation>Diagnose</translation>
    </message>
    <message>
        <source>波形:</source>
        <translation>Capture:</translation>
    </message>
    <message>
        <source>診断する波形</source>
        <translation>The capture to diagnose</translation>
    </message>
    <message>
        <source>Wno:%1</source>
        <translation>Wno:%1</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>H:%1 W:%2 にする</source>
        <translation>Use H:%1 W:%2</translation>
    </message>
    <message>
        <source>次の学習の許容誤差を変えます（この波形はそのままです）</source>
        <translation>Sets the tolerances for the next capture; this one stays as it is.</translation>
    </message>
    <message>
        <source>Philips (Ts:%1 Tw:%2 Bits:%3) にする</source>
        <translation>Use Philips (Ts:%1 Tw:%2 Bits:%3)</translation>
    </message>
    <message>
        <source>次の学習のために Philips をチェックし、Ts, Tw, Bits を設定します</source>
        <translation>Ticks Philips and sets Ts, Tw and Bits for the next capture.</translation>
    </message>
</context>
<context>
    <name>quvan::app::LearningWindow</name>
    <message>
        <source>診断</source>
        <translation>Diagnose</translation>
    </message>
    <message>
        <source>診断 ?</source>
        <translation>Diagnose ?</translation>
    </message>
    <message>
        <source>(クリックで診断)</source>
        <translation>(click for the diagnosis)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>quvan::app::TfrmMain</name>
    <message>
        <source>COM:OFF</source>
        <translation>COM:OFF</translation>
    </message>
    <message>
        <source>学習 On</source>
        <translation>Learn On</translation>
    </message>
    <message>
        <source>学習 Off</source>
        <translation>Learn Off</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>表示言語の変更は、次回の起動から有効になります。</source>
        <translation>The new language takes effect the next time the tool starts.</translation>
    </message>
    <message>
        <source>%1 が閉じられました。
通信ケーブル等を確認して下さい。</source>
        <translation>%1 has been closed.
Check the cable and the connections.</translation>
    </message>
    <message>
        <source>%1 で QUVAN から応答がありません（&quot;Ver&quot;, %2 ms）</source>
        <translation>No answer from the board on %1 (&quot;Ver&quot;, %2 ms)</translation>
    </message>
    <message>
        <source>学習情報を保存していません。
破棄して終了してもよろしいですか？</source>
        <translation>The learning table has not been saved.
Discard it and quit?</translation>
    </message>
</context>
<context>
    <name>quvan::app::TfrmMsgBox</name>
    <message>
        <source>次回から表示しない</source>
        <translation>Don&apos;t show this again</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>quvan::link::BoardLink</name>
    <message>
        <source>COM:OFF</source>
        <translation>COM:OFF</translation>
    </message>
</context>
<context>
    <name>quvan::link::TfrmCom</name>
    <message>
        <source>ComPort Setting</source>
        <translation>ComPort Setting</translation>
    </message>
    <message>
        <source>通信条件</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>接続ﾎﾟｰﾄ</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>ﾎﾞｰﾚｰﾄ</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀﾋﾞｯﾄ</source>
        <translation>Data bits</translation>
    </message>
    <message>
        <source>ﾊﾟﾘﾃｨﾁｪｯｸ</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>ｽﾄｯﾌﾟﾋﾞｯﾄ</source>
        <translation>Stop bits</translation>
    </message>
    <message>
        <source>送信条件</source>
        <translation>Sending</translation>
    </message>
    <message>
        <source>ﾍｯﾀﾞｰ</source>
        <translation>Head</translation>
    </message>
    <message>
        <source>無し</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Hex</source>
        <translation>Hex</translation>
    </message>
    <message>
        <source>ﾃﾞﾘﾐﾀ</source>
        <translation>Delim.</translation>
    </message>
    <message>
        <source>受信条件</source>
        <translation>Receiving</translation>
    </message>
    <message>
        <source>ﾀｲﾑｱｳﾄ</source>
        <translation>Timeout</translation>
    </message>
    <message>
        <source>mSec</source>
        <translation>mSec</translation>
    </message>
    <message>
        <source>赤外出力完了コード</source>
        <translation>Infrared output completion code</translation>
    </message>
    <message>
        <source> ACK (0x06)</source>
        <translation> ACK (0x06)</translation>
    </message>
    <message>
        <source>”ACK”+CRLF (0x0D,0x0A)</source>
        <translation>”ACK”+CRLF (0x0D,0x0A)</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>&apos;%1&apos; is not a valid integer value</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>%1 を設定出来ません。</source>
        <translation>Cannot set up %1.</translation>
    </message>
    <message>
        <source>COM Port Search</source>
        <translation>COM Port Search</translation>
    </message>
    <message>
        <source>Connect the USB to Serial Cable</source>
        <translation>Connect the USB to Serial Cable</translation>
    </message>
    <message>
        <source>Completed</source>
        <translation>Completed</translation>
    </message>
    <message>
        <source>The connection port is %1</source>
        <translation>The connection port is %1</translation>
    </message>
    <message>
        <source>Unknown COM port !</source>
        <translation>Unknown COM port !</translation>
    </message>
</context>
<context>
    <name>quvan::maintenance::TfrmDownload</name>
    <message>
        <source>Firmware Update</source>
        <translation>Firmware Update</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Now Erasing ...</source>
        <translation>Now Erasing ...</translation>
    </message>
    <message>
        <source>Log Clear</source>
        <translation>Log Clear</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>Reset to Wait</source>
        <translation>Reset to Wait</translation>
    </message>
    <message>
        <source>mS</source>
        <translation>mS</translation>
    </message>
    <message>
        <source>COM:OFF</source>
        <translation>COM:OFF</translation>
    </message>
    <message>
        <source>Busy</source>
        <translation>Busy</translation>
    </message>
</context>
<context>
    <name>quvan::maintenance::TfrmDsw</name>
    <message>
        <source>DIP Switch Setup</source>
        <translation>DIP Switch Setup</translation>
    </message>
    <message>
        <source>DSW1</source>
        <translation>DSW1</translation>
    </message>
    <message>
        <source>off</source>
        <translation>off</translation>
    </message>
    <message>
        <source>RS232C-通信速度</source>
        <translation>RS232C speed</translation>
    </message>
    <message>
        <source>パラレル入力選択</source>
        <translation>Parallel input</translation>
    </message>
    <message>
        <source>赤外発射回数</source>
        <translation>Infrared emissions</translation>
    </message>
    <message>
        <source>USB-通信速度</source>
        <translation>USB speed</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>on</source>
        <translation>on</translation>
    </message>
</context>
<context>
    <name>quvan::table_ui::BoardTransfers</name>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>QUVANと通信出来ません。</source>
        <translation>Cannot communicate with QUVAN.</translation>
    </message>
</context>
<context>
    <name>quvan::table_ui::CellEditorDelegate</name>
    <message>
        <source>カンマ(,)はファイルの区切りのため全角の「，」として記録します。
Shift-JISに無い文字は「〓」になります。</source>
        <translation>A comma (,) separates the fields of the file, so it is kept as the full-width &quot;，&quot;.
Characters that Shift-JIS lacks become &quot;〓&quot;.</translation>
    </message>
</context>
<context>
    <name>quvan::table_ui::GridPopupMenu</name>
    <message>
        <source>貼付け (&amp;Paste)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>削除 (&amp;Delete)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>挿入 (&amp;Insert)</source>
        <translation>&amp;Insert</translation>
    </message>
    <message>
        <source>波形情報</source>
        <translation>Wave Information</translation>
    </message>
    <message>
        <source>診断</source>
        <translation>Diagnose</translation>
    </message>
    <message>
        <source>削除確認</source>
        <translation>Confirm Deletion</translation>
    </message>
    <message>
        <source>現在の行を削除して前詰めにします。
よろしいですか？</source>
        <translation>Delete the current row and move the rows below it up?</translation>
    </message>
    <message>
        <source>コピー (&amp;Copy)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>コピー&#x3000;(&amp;Copy)</source>
        <translation>&amp;Copy</translation>
    </message>
</context>
<context>
    <name>quvan::table_ui::LearningTableModel</name>
    <message>
        <source>No.</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Carry</source>
        <translation>Carry</translation>
    </message>
    <message>
        <source>Frames</source>
        <translation>Frames</translation>
    </message>
    <message>
        <source>Comments</source>
        <translation>Comments</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
</context>
<context>
    <name>quvan::table_ui::ReadBackDriver</name>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>QUVANと通信出来ません。</source>
        <translation>Cannot communicate with QUVAN.</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>QUVANのテーブル情報を読込みます。
よろしいですか？</source>
        <translation>Read the table from QUVAN?</translation>
    </message>
</context>
<context>
    <name>quvan::table_ui::ReadBackProgress</name>
    <message>
        <source>QUVAN読込み</source>
        <translation>Read QUVAN</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>QUVANのテーブル情報を読込んでいます…</source>
        <translation>Reading the table from QUVAN…</translation>
    </message>
    <message>
        <source>QUVANのテーブル情報を読込んでいます…
エントリー %1 / %2</source>
        <translation>Reading the table from QUVAN…
Entry %1 / %2</translation>
    </message>
    <message>
        <source>読込みを中止しています…</source>
        <translation>Stopping the read…</translation>
    </message>
</context>
<context>
    <name>quvan::table_ui::SignalExchangeCommands</name>
    <message>
        <source>生タイミング</source>
        <translation>raw timings</translation>
    </message>
    <message>
        <source>追加した信号はありません。</source>
        <translation>0 signals added.</translation>
    </message>
    <message numerus="yes">
        <source>%n 件の信号を追加しました（%1 行目）。</source>
        <translation>
            <numerusform>%n signal added (row %1).</numerusform>
            <numerusform>%n signals added (row %1).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 件の信号を追加しました（%1 ～ %2 行目）。</source>
        <translation>
            <numerusform>%n signal added (rows %1 to %2).</numerusform>
            <numerusform>%n signals added (rows %1 to %2).</numerusform>
        </translation>
    </message>
    <message>
        <source>信号ファイル (*.ir *.txt *.pronto *.raw *.mode2)</source>
        <translation>Signal files (*.ir *.txt *.pronto *.raw *.mode2)</translation>
    </message>
    <message>
        <source>Flipper IR ファイル (*.ir)</source>
        <translation>Flipper IR files (*.ir)</translation>
    </message>
    <message>
        <source>Pronto Hex (*.txt *.pronto)</source>
        <translation>Pronto Hex (*.txt *.pronto)</translation>
    </message>
    <message>
        <source>生タイミング (*.txt *.raw)</source>
        <translation>Raw timings (*.txt *.raw)</translation>
    </message>
    <message>
        <source>pulse/space ログ (*.txt *.mode2)</source>
        <translation>pulse/space logs (*.txt *.mode2)</translation>
    </message>
    <message>
        <source>全てのファイル (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>Pronto Hex (*.txt)</source>
        <translation>Pronto Hex (*.txt)</translation>
    </message>
    <message>
        <source>生タイミング (*.txt)</source>
        <translation>Raw timings (*.txt)</translation>
    </message>
    <message>
        <source>LIRC 設定ファイル (*.conf)</source>
        <translation>LIRC configuration (*.conf)</translation>
    </message>
    <message>
        <source>信号のインポート</source>
        <translation>Import signals</translation>
    </message>
    <message>
        <source>インポート</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>%1 を読めません:
%2</source>
        <translation>Cannot read %1:
%2</translation>
    </message>
    <message>
        <source>%1 には信号がありません。</source>
        <translation>%1 holds no signals.</translation>
    </message>
    <message>
        <source>インポート %1: </source>
        <translation>Import %1: </translation>
    </message>
    <message>
        <source>読込み元: %1</source>
        <translation>From %1.</translation>
    </message>
    <message numerus="yes">
        <source>%n 件は取り込めませんでした（理由は受信ログにあります）。</source>
        <translation>
            <numerusform>%n refused: the receive log says why.</numerusform>
            <numerusform>%n refused: the receive log says why.</numerusform>
        </translation>
    </message>
    <message>
        <source>エクスポート: </source>
        <translation>Export: </translation>
    </message>
    <message>
        <source>エクスポート</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>選択した行には学習した信号がありません。</source>
        <translation>None of the selected rows holds a learned signal.</translation>
    </message>
    <message>
        <source>テーブルには学習した信号がありません。</source>
        <translation>No row of the table holds a learned signal.</translation>
    </message>
    <message numerus="yes">
        <source>選択した %n 行のエクスポート</source>
        <translation>
            <numerusform>Export the %n selected row</numerusform>
            <numerusform>Export the %n selected rows</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>テーブルのエクスポート（%n 件の信号）</source>
        <translation>
            <numerusform>Export the table (%n signal)</numerusform>
            <numerusform>Export the table (%n signals)</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 に書き込めません:
%2</source>
        <translation>Cannot write %1:
%2</translation>
    </message>
    <message>
        <source>エクスポート %1: </source>
        <translation>Export %1: </translation>
    </message>
    <message numerus="yes">
        <source>%n 件の信号を %1 に書き出しました（%2）。</source>
        <translation>
            <numerusform>%n signal written to %1 (%2).</numerusform>
            <numerusform>%n signals written to %1 (%2).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 行は確認が必要です（受信ログを参照）。</source>
        <translation>
            <numerusform>%n row needs a look: see the receive log.</numerusform>
            <numerusform>%n rows need a look: see the receive log.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quvan::table_ui::TableCommands</name>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>学習情報を新規作成します。
現在の学習情報を破棄してもよろしいですか？</source>
        <translation>This starts a new learning table.
Discard the current one?</translation>
    </message>
    <message>
        <source>現在の学習情報を保存していません。
破棄してもよろしいですか？</source>
        <translation>The current learning table has not been saved.
Discard it?</translation>
    </message>
    <message>
        <source>File Error</source>
        <translation>File Error</translation>
    </message>
    <message>
        <source>ファイルを開けません。</source>
        <translation>Cannot open the file.</translation>
    </message>
    <message>
        <source>ファイルを開けません: %1</source>
        <translation>Cannot open the file: %1</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>次の値はファイルと同じにはなりません。</source>
        <translation>These values will not be the same as in the file.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>選択されたファイル形式では保存出来ません。</source>
        <translation>The table cannot be saved in the chosen file type.</translation>
    </message>
    <message>
        <source>File Error: %1</source>
        <translation>File Error: %1</translation>
    </message>
</context>
<context>
    <name>quvan::table_ui::TfrmTws</name>
    <message>
        <source>QUVAN Learning Table Write</source>
        <translation>QUVAN Learning Table Write</translation>
    </message>
    <message>
        <source>学習情報をＱＵＶＡＮに登録します。</source>
        <translation>Writes the learning table into QUVAN.</translation>
    </message>
    <message>
        <source>登録範囲</source>
        <translation>Rows to write</translation>
    </message>
    <message>
        <source>全ての行を登録</source>
        <translation>All rows</translation>
    </message>
    <message>
        <source>現カーソル行のみ登録</source>
        <translation>Only the cursor row</translation>
    </message>
    <message>
        <source>空白行の処理</source>
        <translation>Blank rows</translation>
    </message>
    <message>
        <source>空白行はスキップ</source>
        <translation>Skip blank rows</translation>
    </message>
    <message>
        <source>空白行は削除</source>
        <translation>Erase blank rows</translation>
    </message>
    <message>
        <source>登録実行</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>準備ができましたら、「登録実行」ボタンをクリックして下さい。</source>
        <translation>When you are ready, click &quot;Write&quot;.</translation>
    </message>
    <message>
        <source>登録中…</source>
        <translation>Writing…</translation>
    </message>
    <message>
        <source>中止します…</source>
        <translation>Stopping…</translation>
    </message>
    <message>
        <source>%1 / %2 行</source>
        <translation>%1 / %2 rows</translation>
    </message>
</context>
<context>
    <name>quvan::tools::TfrmWave</name>
    <message>
        <source>Wave Data</source>
        <translation>Wave Data</translation>
    </message>
    <message>
        <source>WaveData%1</source>
        <translation>WaveData%1</translation>
    </message>
    <message>
        <source>Pno</source>
        <translation>Pno</translation>
    </message>
    <message>
        <source>High</source>
        <translation>High</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Width</translation>
    </message>
</context>
<context>
    <name>quvan::tools::TfrmWaveEdit</name>
    <message>
        <source>WaveEdit</source>
        <translation>WaveEdit</translation>
    </message>
    <message>
        <source> Pcode</source>
        <translation> Pcode</translation>
    </message>
    <message>
        <source> High</source>
        <translation> High</translation>
    </message>
    <message>
        <source> Width</source>
        <translation> Width</translation>
    </message>
    <message>
        <source> Pcode:%1</source>
        <translation> Pcode:%1</translation>
    </message>
    <message>
        <source>Carry</source>
        <translation>Carry</translation>
    </message>
    <message>
        <source>DataBits</source>
        <translation>DataBits</translation>
    </message>
    <message>
        <source>RepeatBit</source>
        <translation>RepeatBit</translation>
    </message>
    <message>
        <source>IR Out</source>
        <translation>IR Out</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Pattern Code</source>
        <translation>Pattern Code</translation>
    </message>
    <message>
        <source>ByteCode</source>
        <translation>ByteCode</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>送信していません。</source>
        <translation>Nothing was sent.</translation>
    </message>
    <message>
        <source>QUVANと通信出来ません。</source>
        <translation>Cannot communicate with QUVAN.</translation>
    </message>
    <message>
        <source>保存していません。</source>
        <translation>Nothing was saved.</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>Result に &quot;d:&quot; がないため、ByteCode は保存していません。
Result はそのままです。</source>
        <translation>Result has no &quot;d:&quot;, so ByteCode was not saved.
Result is unchanged.</translation>
    </message>
</context>
<context>
    <name>quvan::tools::WaveDataModel</name>
    <message>
        <source>High </source>
        <translation>High </translation>
    </message>
    <message>
        <source>Width </source>
        <translation>Width </translation>
    </message>
    <message>
        <source>Pno </source>
        <translation>Pno </translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Logic</translation>
    </message>
    <message>
        <source>Wno:%1 </source>
        <translation>Wno:%1 </translation>
    </message>
</context>
<context>
    <name>quvan::tools::WaveOutputCommands</name>
    <message>
        <source>確認</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>Can&apos;t Save</source>
        <translation>Can&apos;t Save</translation>
    </message>
</context>
</TS>
