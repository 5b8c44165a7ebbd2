<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="zh_TW">
<context>
    <name>ConcordanceExport</name>
    <message>
        <source>Could not write the file '%1': %2</source>
        <translation>無法寫入檔案「%1」：%2</translation>
    </message>
</context>
<context>
    <name>ConcordanceModel</name>
    <message>
        <source>篇名</source>
        <translation>篇名</translation>
    </message>
    <message>
        <source>前文</source>
        <translation>前文</translation>
    </message>
    <message>
        <source>關鍵字</source>
        <translation>關鍵字</translation>
    </message>
    <message>
        <source>後文</source>
        <translation>後文</translation>
    </message>
</context>
<context>
    <name>ConcordanceSource</name>
    <message>
        <source>Could not read the records of the database '%1': %2</source>
        <translation>無法讀取資料庫「%1」的記錄：%2</translation>
    </message>
</context>
<context>
    <name>ConditionFile</name>
    <message>
        <source>沒有選擇檔案；請先在檔案清單中點選檔案。</source>
        <translation>沒有選擇檔案；請先在檔案清單中點選檔案。</translation>
    </message>
    <message>
        <source>找不到這個檔案（可能已被移除或改名）。</source>
        <translation>找不到這個檔案（可能已被移除或改名）。</translation>
    </message>
    <message>
        <source>這不是檔案。</source>
        <translation>這不是檔案。</translation>
    </message>
    <message>
        <source>無法讀取這個檔案（%1）。</source>
        <translation>無法讀取這個檔案（%1）。</translation>
    </message>
    <message>
        <source>這個檔案是唯讀的。</source>
        <translation>這個檔案是唯讀的。</translation>
    </message>
    <message>
        <source>資料夾 %1 已不存在或不是資料夾。</source>
        <translation>資料夾 %1 已不存在或不是資料夾。</translation>
    </message>
    <message>
        <source>讀取失敗（%1）。</source>
        <translation>讀取失敗（%1）。</translation>
    </message>
    <message>
        <source>寫入失敗（%1）；檔案可能只寫入了一部分。</source>
        <translation>寫入失敗（%1）；檔案可能只寫入了一部分。</translation>
    </message>
    <message>
        <source>寫入失敗（%1）；檔案未變更。</source>
        <translation>寫入失敗（%1）；檔案未變更。</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1：%2</translation>
    </message>
</context>
<context>
    <name>ConditionText</name>
    <message>
        <source>這部電腦沒有 Big5（字碼頁 950）的轉換表。</source>
        <translation>這部電腦沒有 Big5（字碼頁 950）的轉換表。</translation>
    </message>
    <message>
        <source>第 %1 行的位元組 %2（檔案第 %3 位元組起）不是 Big5（字碼頁 950）文字；為免存檔時改壞內容，檔案未載入。</source>
        <translation>第 %1 行的位元組 %2（檔案第 %3 位元組起）不是 Big5（字碼頁 950）文字；為免存檔時改壞內容，檔案未載入。</translation>
    </message>
    <message>
        <source>檔案內容不是 Big5（字碼頁 950）文字；為免存檔時改壞內容，檔案未載入。</source>
        <translation>檔案內容不是 Big5（字碼頁 950）文字；為免存檔時改壞內容，檔案未載入。</translation>
    </message>
    <message>
        <source>第 %1 行第 %2 字 %3 無法以 Big5（字碼頁 950）存檔；檔案未變更。</source>
        <translation>第 %1 行第 %2 字 %3 無法以 Big5（字碼頁 950）存檔；檔案未變更。</translation>
    </message>
    <message>
        <source>內容無法以 Big5（字碼頁 950）存檔；檔案未變更。</source>
        <translation>內容無法以 Big5（字碼頁 950）存檔；檔案未變更。</translation>
    </message>
</context>
<context>
    <name>ContentDatabase</name>
    <message>
        <source> Install the collection's database file jst.mdb in the program folder again.</source>
        <translation>請將全文資料庫檔 jst.mdb 重新安裝到程式資料夾。</translation>
    </message>
    <message>
        <source>Could not use the database '%1': %2</source>
        <translation>無法使用資料庫「%1」：%2</translation>
    </message>
    <message>
        <source>The database '%1' is locked by another program (%2). Close that program or wait until it is done, then search again.</source>
        <translation>資料庫「%1」正被其他程式鎖定（%2）。請關閉該程式或等它結束後，再搜尋一次。</translation>
    </message>
    <message>
        <source> (database '%1').</source>
        <translation>（資料庫「%1」）。</translation>
    </message>
    <message>
        <source>it is not a file (a folder or a special file has its name). Remove it.</source>
        <translation>這不是檔案（有同名的資料夾或特殊檔案）。請將它移除。</translation>
    </message>
    <message>
        <source>Could not find file '%1'.</source>
        <translation>找不到檔案「%1」。</translation>
    </message>
    <message>
        <source>the file is neither an SQLite nor a Jet database, or cannot be read.</source>
        <translation>這個檔案不是 SQLite 或 Jet 資料庫，或無法讀取。</translation>
    </message>
    <message>
        <source>The connection string names no data source.</source>
        <translation>連線字串沒有指定資料來源。</translation>
    </message>
    <message>
        <source> Change the search words and search again.</source>
        <translation>請修改搜尋的關鍵字後再搜尋一次。</translation>
    </message>
    <message>
        <source>The database '%1' was changed by another program while it was read. Search again once that program is done.</source>
        <translation>資料庫「%1」在讀取時被其他程式改寫。請待該程式完成後再搜尋一次。</translation>
    </message>
    <message>
        <source>The database '%1' holds an unfinished change of a program that stopped while writing it (the file '%1-journal' beside it), and this program may not write there to undo it. Nothing is lost: the change is rolled back the first time the file is opened by a program that may write it (for example, as its owner: sqlite3 '%1' 'select 1'). Then search again.</source>
        <translation>資料庫「%1」留有一項未完成的修改：寫入它的程式中途停止（旁邊留下「%1-journal」檔），而本程式無權在該處寫入以復原。資料並未遺失：只要以可寫入該檔的程式開啟一次（例如由檔案擁有者執行 sqlite3 '%1' 'select 1'），該修改即被撤回。之後請再搜尋一次。</translation>
    </message>
</context>
<context>
    <name>DesktopArguments</name>
    <message>
        <source>usage: tamvex [--program-folder DIR | DIR | DIR/jst.mdb]</source>
        <translation>用法：tamvex [--program-folder 資料夾 | 資料夾 | 資料夾/jst.mdb]</translation>
    </message>
    <message>
        <source>No collection folder at '%1'.</source>
        <translation>「%1」不是文庫資料夾。</translation>
    </message>
</context>
<context>
    <name>DirListBox</name>
    <message>
        <source>%1：找不到這個資料夾（磁碟可能未就緒或已卸載）。</source>
        <translation>%1：找不到這個資料夾（磁碟可能未就緒或已卸載）。</translation>
    </message>
    <message>
        <source>%1：無法讀取這個資料夾。</source>
        <translation>%1：無法讀取這個資料夾。</translation>
    </message>
</context>
<context>
    <name>Failure</name>
    <message>
        <source>錯誤 %1：%2</source>
        <translation>錯誤 %1：%2</translation>
    </message>
    <message>
        <source>The search was abandoned.</source>
        <translation>已放棄此次搜尋。</translation>
    </message>
</context>
<context>
    <name>FrmConcordance</name>
    <message>
        <source>-關鍵字索引</source>
        <translation>-關鍵字索引</translation>
    </message>
    <message>
        <source>篩選：輸入文字，只列出含有它的行</source>
        <translation>篩選：輸入文字，只列出含有它的行</translation>
    </message>
    <message>
        <source>依搜尋結果順序</source>
        <translation>依搜尋結果順序</translation>
    </message>
    <message>
        <source>依前文排序（由近而遠）</source>
        <translation>依前文排序（由近而遠）</translation>
    </message>
    <message>
        <source>依後文排序</source>
        <translation>依後文排序</translation>
    </message>
    <message>
        <source>依篇名排序</source>
        <translation>依篇名排序</translation>
    </message>
    <message>
        <source>前後 </source>
        <translation>前後 </translation>
    </message>
    <message>
        <source> 字</source>
        <translation> 字</translation>
    </message>
    <message>
        <source>匯出…</source>
        <translation>匯出…</translation>
    </message>
    <message>
        <source>複製</source>
        <translation>複製</translation>
    </message>
    <message>
        <source>關鍵字索引需要搜尋的關鍵字：請先輸入關鍵字並搜尋，再按 F9。</source>
        <translation>關鍵字索引需要搜尋的關鍵字：請先輸入關鍵字並搜尋，再按 F9。</translation>
    </message>
    <message>
        <source>關鍵字索引：搜尋結果的內文中沒有「%1」出現之處。</source>
        <translation>關鍵字索引：搜尋結果的內文中沒有「%1」出現之處。</translation>
    </message>
    <message>
        <source>共 %L1 處，出自 %L2 筆記錄</source>
        <translation>共 %L1 處，出自 %L2 筆記錄</translation>
    </message>
    <message>
        <source>（篩選後 %L1 處）</source>
        <translation>（篩選後 %L1 處）</translation>
    </message>
    <message>
        <source>匯出關鍵字索引</source>
        <translation>匯出關鍵字索引</translation>
    </message>
    <message>
        <source>以 Tab 分隔的文字 (*.tsv);;以逗號分隔的文字 (*.csv)</source>
        <translation>以 Tab 分隔的文字 (*.tsv);;以逗號分隔的文字 (*.csv)</translation>
    </message>
</context>
<context>
    <name>FrmIni</name>
    <message>
        <source>無法開啟示範頁 %1：找不到可用的瀏覽器。請安裝網頁瀏覽器（xdg-open）後再試。</source>
        <translation>無法開啟示範頁 %1：找不到可用的瀏覽器。請安裝網頁瀏覽器（xdg-open）後再試。</translation>
    </message>
</context>
<context>
    <name>FrmTamvexMain</name>
    <message>
        <source>搜尋中……按 Esc 停止</source>
        <translation>搜尋中……按 Esc 停止</translation>
    </message>
</context>
<context>
    <name>HighlightedPageWriter</name>
    <message>
        <source>: </source>
        <translation>：</translation>
    </message>
    <message>
        <source>Cannot create the folder</source>
        <translation>無法建立資料夾</translation>
    </message>
    <message>
        <source>Cannot open the page</source>
        <translation>無法開啟網頁</translation>
    </message>
    <message>
        <source>Cannot read the page</source>
        <translation>無法讀取網頁</translation>
    </message>
    <message>
        <source>Cannot delete the old temporary page</source>
        <translation>無法刪除舊的暫存網頁</translation>
    </message>
    <message>
        <source>Cannot create the temporary page</source>
        <translation>無法建立暫存網頁</translation>
    </message>
    <message>
        <source>Cannot write the temporary page</source>
        <translation>無法寫入暫存網頁</translation>
    </message>
    <message>
        <source>The page is not a regular file (a FIFO, a device or a socket has its name)</source>
        <translation>頁面檔不是一般檔案（其名稱為 FIFO、裝置或 socket 所用），未載入</translation>
    </message>
    <message>
        <source>The page is larger than %1 MB</source>
        <translation>頁面檔大於 %1 MB，未載入</translation>
    </message>
</context>
<context>
    <name>IndexBuild</name>
    <message>
        <source>out of memory</source>
        <translation>記憶體不足</translation>
    </message>
    <message>
        <source>a record went missing while it was read</source>
        <translation>讀取時有一筆記錄不見了</translation>
    </message>
    <message>
        <source>cannot open the file</source>
        <translation>無法開啟檔案</translation>
    </message>
    <message>
        <source>(open connection)</source>
        <translation>（已開啟的連線）</translation>
    </message>
    <message>
        <source>Could not index the database '%1': %2</source>
        <translation>無法為資料庫「%1」建立索引：%2</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>已取消</translation>
    </message>
    <message>
        <source>maindata has a column named _rowid_ that hides the row id</source>
        <translation>maindata 資料表有名為 _rowid_ 的欄位，遮住了列號</translation>
    </message>
    <message>
        <source>no such table: maindata</source>
        <translation>沒有 maindata 資料表</translation>
    </message>
    <message>
        <source>maindata has no row ids</source>
        <translation>maindata 資料表沒有列號</translation>
    </message>
    <message>
        <source>maindata holds more than 4294967295 records</source>
        <translation>maindata 資料表的記錄超過 4294967295 筆</translation>
    </message>
    <message>
        <source>cannot read the scratch file</source>
        <translation>無法讀取暫存檔</translation>
    </message>
    <message>
        <source>the postings could not be kept</source>
        <translation>無法保存各字的出處清單</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>已停止</translation>
    </message>
    <message>
        <source>cannot create a scratch file in '%1': %2</source>
        <translation>無法在「%1」建立暫存檔：%2</translation>
    </message>
    <message>
        <source>cannot write the scratch file: %1</source>
        <translation>無法寫入暫存檔：%1</translation>
    </message>
</context>
<context>
    <name>IndexFile</name>
    <message>
        <source>Index file '%1': %2</source>
        <translation>索引檔「%1」：%2</translation>
    </message>
    <message>
        <source>cannot be written</source>
        <translation>無法寫入</translation>
    </message>
    <message>
        <source>too short</source>
        <translation>太短</translation>
    </message>
    <message>
        <source>of another format</source>
        <translation>格式不同</translation>
    </message>
    <message>
        <source>damaged header</source>
        <translation>檔頭已損壞</translation>
    </message>
    <message>
        <source>made for another database file</source>
        <translation>是為另一個資料庫檔建立的</translation>
    </message>
    <message>
        <source>damaged (sizes)</source>
        <translation>已損壞（大小不符）</translation>
    </message>
    <message>
        <source>damaged checksums</source>
        <translation>已損壞（檢查碼不符）</translation>
    </message>
    <message>
        <source>no memory to read it</source>
        <translation>記憶體不足，無法讀取</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>不存在</translation>
    </message>
</context>
<context>
    <name>JetDatabase</name>
    <message>
        <source> Install an undamaged copy of the collection's database file jst.mdb in the program folder.</source>
        <translation>請將未損壞的全文資料庫檔 jst.mdb 安裝到程式資料夾。</translation>
    </message>
    <message>
        <source> Install the program again.</source>
        <translation>請重新安裝本程式。</translation>
    </message>
    <message>
        <source>Could not read the Jet database '%1': %2</source>
        <translation>無法讀取 Jet 資料庫「%1」：%2</translation>
    </message>
    <message>
        <source>the file does not exist.</source>
        <translation>檔案不存在。</translation>
    </message>
    <message>
        <source>the file is not a Jet database or cannot be read.</source>
        <translation>這個檔案不是 Jet 資料庫，或無法讀取。</translation>
    </message>
    <message>
        <source>.</source>
        <comment>the mark that ends a reason</comment>
        <translation>。</translation>
    </message>
</context>
<context>
    <name>JetReader</name>
    <message>
        <source>the file cannot be opened as a Jet database</source>
        <translation>無法以 Jet 資料庫開啟這個檔案</translation>
    </message>
    <message>
        <source>the file's code page %1 is not known to this system</source>
        <translation>本系統不認得這個檔案的字碼頁 %1</translation>
    </message>
    <message>
        <source>the file's table catalogue cannot be read; the file is damaged or not a Jet database</source>
        <translation>無法讀取檔案的資料表目錄；檔案已損壞或不是 Jet 資料庫</translation>
    </message>
    <message>
        <source>the file holds no table maindata</source>
        <translation>檔案中沒有 maindata 資料表</translation>
    </message>
    <message>
        <source>the definition of table maindata cannot be read; the file is damaged</source>
        <translation>無法讀取 maindata 資料表的定義；檔案已損壞</translation>
    </message>
    <message>
        <source>table maindata has no column %1</source>
        <translation>maindata 資料表沒有 %1 欄位</translation>
    </message>
    <message>
        <source>row %1 of table maindata cannot be located again</source>
        <translation>maindata 資料表的第 %1 筆無法再次找到</translation>
    </message>
    <message>
        <source>row %1 of table maindata cannot be read</source>
        <translation>maindata 資料表的第 %1 筆無法讀取</translation>
    </message>
    <message>
        <source>row %1 of table maindata, column %2 has a damaged memo header</source>
        <translation>maindata 資料表第 %1 筆的 %2 欄位：備忘欄的標頭已損壞</translation>
    </message>
    <message>
        <source>row %1 of table maindata, column %2: its memo value is damaged (%3 bytes read, %4 declared); the file is damaged</source>
        <translation>maindata 資料表第 %1 筆的 %2 欄位：備忘欄的內容已損壞（讀到 %3 位元組，應有 %4 位元組）；檔案已損壞</translation>
    </message>
</context>
<context>
    <name>JetReaderProcess</name>
    <message>
        <source>%1 (reader: %2)</source>
        <translation>%1（讀取程式：%2）</translation>
    </message>
    <message>
        <source>the Jet reader program '%1' is missing or cannot be run</source>
        <translation>Jet 讀取程式「%1」不存在或無法執行</translation>
    </message>
    <message>
        <source>the Jet reader program '%1' could not be started: %2</source>
        <translation>無法啟動 Jet 讀取程式「%1」：%2</translation>
    </message>
    <message>
        <source>reading took longer than %1 seconds and was stopped; the file may be damaged</source>
        <translation>讀取超過 %1 秒，已停止；檔案可能已損壞</translation>
    </message>
    <message>
        <source>the Jet reader stopped abnormally; the file may be damaged</source>
        <translation>Jet 讀取程式異常結束；檔案可能已損壞</translation>
    </message>
    <message>
        <source>the Jet reader's output ended early (exit code %1)</source>
        <translation>Jet 讀取程式的輸出提前結束（結束代碼 %1）</translation>
    </message>
    <message>
        <source>the Jet reader sent %1 rows but counted %2</source>
        <translation>Jet 讀取程式送出 %1 筆，卻計數為 %2 筆</translation>
    </message>
    <message>
        <source>%1 rows of table maindata could be read, but the table holds %2; the file is damaged</source>
        <translation>資料表 maindata 只讀到 %1 筆，但它有 %2 筆；檔案已損壞</translation>
    </message>
</context>
<context>
    <name>JetSqliteLoader</name>
    <message>
        <source>the in-memory copy could not be built: %1</source>
        <translation>無法在記憶體中建立資料副本：%1</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>記憶體不足</translation>
    </message>
</context>
<context>
    <name>JetStatement</name>
    <message>
        <source>Syntax error in query: %1.</source>
        <translation>查詢語法錯誤：%1。</translation>
    </message>
    <message>
        <source>a string without its closing apostrophe</source>
        <translation>字串缺少結尾的單引號</translation>
    </message>
    <message>
        <source>a "[" name without its "]"</source>
        <translation>以「[」開頭的名稱缺少「]」</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument: chr(%1).</source>
        <translation>程序呼叫或引數無效：chr(%1)。</translation>
    </message>
</context>
<context>
    <name>JetWireParser</name>
    <message>
        <source>the reader's output does not start with the expected mark</source>
        <translation>讀取程式的輸出開頭沒有應有的標記</translation>
    </message>
    <message>
        <source>the reader wrote data after its last record</source>
        <translation>讀取程式在最後一筆紀錄之後還寫出資料</translation>
    </message>
    <message>
        <source>the reader's output holds an unknown record</source>
        <translation>讀取程式的輸出含有不明的紀錄</translation>
    </message>
    <message>
        <source>the reader's output holds a value of unknown kind</source>
        <translation>讀取程式的輸出含有不明種類的值</translation>
    </message>
</context>
<context>
    <name>LikePattern</name>
    <message>
        <source>Invalid pattern string: %1 in the like pattern '%2'.</source>
        <translation>比對樣式「%2」無效：%1。</translation>
    </message>
    <message>
        <source>a "[" without its "]"</source>
        <translation>「[」沒有對應的「]」</translation>
    </message>
    <message>
        <source>a range that runs backwards</source>
        <translation>範圍的起點大於終點</translation>
    </message>
</context>
<context>
    <name>PageHits</name>
    <message>
        <source>共 %1 處</source>
        <translation>共 %1 處</translation>
    </message>
    <message>
        <source>第 %1／%2 處</source>
        <translation>第 %1／%2 處</translation>
    </message>
</context>
<context>
    <name>RecordPrinter</name>
    <message>
        <source>沒有可用的印表機，無法列印。請先在系統中安裝或設定預設印表機。</source>
        <translation>沒有可用的印表機，無法列印。請先在系統中安裝或設定預設印表機。</translation>
    </message>
    <message>
        <source>無法開始列印：印表機沒有回應。</source>
        <translation>無法開始列印：印表機沒有回應。</translation>
    </message>
</context>
<context>
    <name>SqliteDialect</name>
    <message>
        <source>pattern group missing</source>
        <translation>缺少比對樣式組</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>程序呼叫或引數無效</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>The statement was rejected</source>
        <translation>查詢陳述式遭到拒絕</translation>
    </message>
    <message>
        <source>The statement is empty.</source>
        <translation>查詢陳述式是空的。</translation>
    </message>
    <message>
        <source>Characters found after end of SQL statement.</source>
        <translation>SQL 陳述式結尾之後還有字元。</translation>
    </message>
    <message>
        <source>Only a select of two columns can run.</source>
        <translation>只能執行選取兩個欄位的 select 陳述式。</translation>
    </message>
    <message>
        <source>The statement failed</source>
        <translation>查詢陳述式執行失敗</translation>
    </message>
</context>
<context>
    <name>TamvexCli</name>
    <message>
        <source>usage: tamvex-cli statement [--variants] [--program-folder DIR] QUERY
       tamvex-cli search [--variants] [--program-folder DIR] QUERY
       tamvex-cli index [--program-folder DIR]
       tamvex-cli mark [--variants] [--program-folder DIR] PAGEPATH TERMS
       tamvex-cli kwic [--variants] [--program-folder DIR] [--width N] QUERY
--variants: each character also finds its variant and traditional forms
(the table variant-classes.txt and variant-edits.txt of the folder)
</source>
        <translation>用法：tamvex-cli statement [--variants] [--program-folder 資料夾] 查詢
      tamvex-cli search [--variants] [--program-folder 資料夾] 查詢
      tamvex-cli index [--program-folder 資料夾]
      tamvex-cli mark [--variants] [--program-folder 資料夾] 頁面路徑 關鍵字
      tamvex-cli kwic [--variants] [--program-folder 資料夾] [--width 字數] 查詢
--variants：每個字也找它的異體字與繁體字
（依資料夾中的異體字表 variant-classes.txt 與 variant-edits.txt）
</translation>
    </message>
    <message>
        <source>tamvex-cli kwic: %1
usage: tamvex-cli kwic [--variants] [--program-folder DIR] [--width N] QUERY
</source>
        <translation>tamvex-cli kwic：%1
用法：tamvex-cli kwic [--variants] [--program-folder 資料夾] [--width 字數] 查詢
</translation>
    </message>
    <message>
        <source>--width takes a number of characters from 0 to 10000, not '%1'.</source>
        <translation>--width 要給 0 到 10000 的字數，而不是「%1」。</translation>
    </message>
    <message>
        <source>unknown option '%1'.</source>
        <translation>不明的選項「%1」。</translation>
    </message>
    <message>
        <source>give one QUERY (quote it when it holds blanks).</source>
        <translation>請給一個查詢（含空白時請加上引號）。</translation>
    </message>
    <message>
        <source>tamvex-cli kwic: the query has no term to look for.
</source>
        <translation>tamvex-cli kwic：查詢中沒有要找的關鍵字。
</translation>
    </message>
    <message>
        <source>tamvex-cli kwic: no occurrence of the terms.
</source>
        <translation>tamvex-cli kwic：找不到關鍵字出現之處。
</translation>
    </message>
    <message>
        <source>[%1%2] %3/%4 records  %5 MB/s  %6 s left </source>
        <translation>[%1%2] %3/%4 筆  %5 MB/秒  尚餘 %6 秒 </translation>
    </message>
</context>
<context>
    <name>TermIndexRegistry</name>
    <message>
        <source>Could not create the folder '%1' for the index.</source>
        <translation>無法建立索引的資料夾「%1」。</translation>
    </message>
    <message>
        <source>Could not write the index into the folder '%1'.</source>
        <translation>無法將索引寫入資料夾「%1」。</translation>
    </message>
    <message>
        <source>The database '%1' changed while it was indexed.</source>
        <translation>資料庫「%1」在建立索引時被改動了。</translation>
    </message>
    <message>
        <source>Could not index the database '%1': %2</source>
        <translation>無法為資料庫「%1」建立索引：%2</translation>
    </message>
    <message>
        <source>The database '%1' has changes not yet written into it (a -wal or -journal file beside it). Close the program that writes it, then index again.</source>
        <translation>資料庫「%1」還有尚未寫入的變更（旁邊有 -wal 或 -journal 檔）。請關閉寫入它的程式，再建立索引一次。</translation>
    </message>
    <message>
        <source>Could not find file '%1'.</source>
        <translation>找不到檔案「%1」。</translation>
    </message>
    <message>
        <source>The database '%1' is not an SQLite file.</source>
        <translation>資料庫「%1」不是 SQLite 檔案。</translation>
    </message>
    <message>
        <source>The index of '%1' could not be read back.</source>
        <translation>「%1」的索引無法讀回。</translation>
    </message>
</context>
<context>
    <name>VariantSwitch</name>
    <message>
        <source>異體字、簡體字通檢：開（按 F8 關閉）</source>
        <translation>異體字、簡體字通檢：開（按 F8 關閉）</translation>
    </message>
</context>
<context>
    <name>VariantTable</name>
    <message>
        <source>Cannot open the variant table: %1</source>
        <translation>無法開啟異體字表：%1</translation>
    </message>
    <message>
        <source>Cannot read the variant table: %1</source>
        <translation>無法讀取異體字表：%1</translation>
    </message>
    <message>
        <source>The variant table is not UTF-8: %1</source>
        <translation>異體字表不是 UTF-8 文字：%1</translation>
    </message>
</context>
<context>
    <name>frmBrowser</name>
    <message>
        <source>%1：無法切換到這個資料夾。</source>
        <translation>%1：無法切換到這個資料夾。</translation>
    </message>
</context>
</TS>