<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en">
<context>
    <name>ConcordanceExport</name>
    <message>
        <source>Could not write the file '%1': %2</source>
        <translation>Could not write the file '%1': %2</translation>
    </message>
</context>
<context>
    <name>ConcordanceModel</name>
    <message>
        <source>篇名</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>前文</source>
        <translation>Before</translation>
    </message>
    <message>
        <source>關鍵字</source>
        <translation>Hit</translation>
    </message>
    <message>
        <source>後文</source>
        <translation>After</translation>
    </message>
</context>
<context>
    <name>ConcordanceSource</name>
    <message>
        <source>Could not read the records of the database '%1': %2</source>
        <translation>Could not read the records of the database '%1': %2</translation>
    </message>
</context>
<context>
    <name>ConditionFile</name>
    <message>
        <source>沒有選擇檔案；請先在檔案清單中點選檔案。</source>
        <translation>No file is selected; select a file in the file list first.</translation>
    </message>
    <message>
        <source>找不到這個檔案（可能已被移除或改名）。</source>
        <translation>The file cannot be found (it may have been removed or renamed).</translation>
    </message>
    <message>
        <source>這不是檔案。</source>
        <translation>This is not a file.</translation>
    </message>
    <message>
        <source>無法讀取這個檔案（%1）。</source>
        <translation>The file cannot be read (%1).</translation>
    </message>
    <message>
        <source>這個檔案是唯讀的。</source>
        <translation>The file is read-only.</translation>
    </message>
    <message>
        <source>資料夾 %1 已不存在或不是資料夾。</source>
        <translation>The folder %1 no longer exists or is not a folder.</translation>
    </message>
    <message>
        <source>讀取失敗（%1）。</source>
        <translation>Reading failed (%1).</translation>
    </message>
    <message>
        <source>寫入失敗（%1）；檔案可能只寫入了一部分。</source>
        <translation>Writing failed (%1); the file may have been written only in part.</translation>
    </message>
    <message>
        <source>寫入失敗（%1）；檔案未變更。</source>
        <translation>Writing failed (%1); the file is unchanged.</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>ConditionText</name>
    <message>
        <source>這部電腦沒有 Big5（字碼頁 950）的轉換表。</source>
        <translation>This computer has no conversion table for Big5 (code page 950).</translation>
    </message>
    <message>
        <source>第 %1 行的位元組 %2（檔案第 %3 位元組起）不是 Big5（字碼頁 950）文字；為免存檔時改壞內容，檔案未載入。</source>
        <translation>The bytes %2 in line %1 (from byte %3 of the file) are not Big5 (code page 950) text; the file was not loaded, so that a save cannot spoil it.</translation>
    </message>
    <message>
        <source>檔案內容不是 Big5（字碼頁 950）文字；為免存檔時改壞內容，檔案未載入。</source>
        <translation>The file is not Big5 (code page 950) text; it was not loaded, so that a save cannot spoil it.</translation>
    </message>
    <message>
        <source>第 %1 行第 %2 字 %3 無法以 Big5（字碼頁 950）存檔；檔案未變更。</source>
        <translation>Character %2 of line %1, %3, cannot be saved in Big5 (code page 950); the file is unchanged.</translation>
    </message>
    <message>
        <source>內容無法以 Big5（字碼頁 950）存檔；檔案未變更。</source>
        <translation>The text cannot be saved in Big5 (code page 950); the file is unchanged.</translation>
    </message>
</context>
<context>
    <name>ContentDatabase</name>
    <message>
        <source> Install the collection's database file jst.mdb in the program folder again.</source>
        <translation> Install the collection's database file jst.mdb in the program folder again.</translation>
    </message>
    <message>
        <source>Could not use the database '%1': %2</source>
        <translation>Could not use the database '%1': %2</translation>
    </message>
    <message>
        <source>The database '%1' is locked by another program (%2). Close that program or wait until it is done, then search again.</source>
        <translation>The database '%1' is locked by another program (%2). Close that program or wait until it is done, then search again.</translation>
    </message>
    <message>
        <source> (database '%1').</source>
        <translation> (database '%1').</translation>
    </message>
    <message>
        <source>it is not a file (a folder or a special file has its name). Remove it.</source>
        <translation>it is not a file (a folder or a special file has its name). Remove it.</translation>
    </message>
    <message>
        <source>Could not find file '%1'.</source>
        <translation>Could not find file '%1'.</translation>
    </message>
    <message>
        <source>the file is neither an SQLite nor a Jet database, or cannot be read.</source>
        <translation>the file is neither an SQLite nor a Jet database, or cannot be read.</translation>
    </message>
    <message>
        <source>The connection string names no data source.</source>
        <translation>The connection string names no data source.</translation>
    </message>
    <message>
        <source> Change the search words and search again.</source>
        <translation> Change the search words and search again.</translation>
    </message>
    <message>
        <source>The database '%1' was changed by another program while it was read. Search again once that program is done.</source>
        <translation>The database '%1' was changed by another program while it was read. Search again once that program is done.</translation>
    </message>
    <message>
        <source>The database '%1' holds an unfinished change of a program that stopped while writing it (the file '%1-journal' beside it), and this program may not write there to undo it. Nothing is lost: the change is rolled back the first time the file is opened by a program that may write it (for example, as its owner: sqlite3 '%1' 'select 1'). Then search again.</source>
        <translation>The database '%1' holds an unfinished change of a program that stopped while writing it (the file '%1-journal' beside it), and this program may not write there to undo it. Nothing is lost: the change is rolled back the first time the file is opened by a program that may write it (for example, as its owner: sqlite3 '%1' 'select 1'). Then search again.</translation>
    </message>
</context>
<context>
    <name>DesktopArguments</name>
    <message>
        <source>usage: tamvex [--program-folder DIR | DIR | DIR/jst.mdb]</source>
        <translation>usage: tamvex [--program-folder DIR | DIR | DIR/jst.mdb]</translation>
    </message>
    <message>
        <source>No collection folder at '%1'.</source>
        <translation>No collection folder at '%1'.</translation>
    </message>
</context>
<context>
    <name>DirListBox</name>
    <message>
        <source>%1：找不到這個資料夾（磁碟可能未就緒或已卸載）。</source>
        <translation>%1: this folder cannot be found (the disk may not be ready, or it was unmounted).</translation>
    </message>
    <message>
        <source>%1：無法讀取這個資料夾。</source>
        <translation>%1: this folder cannot be read.</translation>
    </message>
</context>
<context>
    <name>Failure</name>
    <message>
        <source>錯誤 %1：%2</source>
        <translation>Error %1: %2</translation>
    </message>
    <message>
        <source>The search was abandoned.</source>
        <translation>The search was abandoned.</translation>
    </message>
</context>
<context>
    <name>FrmConcordance</name>
    <message>
        <source>-關鍵字索引</source>
        <translation>-Concordance</translation>
    </message>
    <message>
        <source>篩選：輸入文字，只列出含有它的行</source>
        <translation>Filter: type a text to list only the lines that hold it</translation>
    </message>
    <message>
        <source>依搜尋結果順序</source>
        <translation>In result order</translation>
    </message>
    <message>
        <source>依前文排序（由近而遠）</source>
        <translation>By the text before (nearest first)</translation>
    </message>
    <message>
        <source>依後文排序</source>
        <translation>By the text after</translation>
    </message>
    <message>
        <source>依篇名排序</source>
        <translation>By title</translation>
    </message>
    <message>
        <source>前後 </source>
        <translation>Context </translation>
    </message>
    <message>
        <source> 字</source>
        <translation> characters</translation>
    </message>
    <message>
        <source>匯出…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>複製</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>關鍵字索引需要搜尋的關鍵字：請先輸入關鍵字並搜尋，再按 F9。</source>
        <translation>The concordance needs search words: type them and search, then press F9.</translation>
    </message>
    <message>
        <source>關鍵字索引：搜尋結果的內文中沒有「%1」出現之處。</source>
        <translation>Concordance: “%1” does not occur in the text of the records found.</translation>
    </message>
    <message>
        <source>共 %L1 處，出自 %L2 筆記錄</source>
        <translation>%L1 occurrences in %L2 records</translation>
    </message>
    <message>
        <source>（篩選後 %L1 處）</source>
        <translation>(%L1 after filtering)</translation>
    </message>
    <message>
        <source>匯出關鍵字索引</source>
        <translation>Export the concordance</translation>
    </message>
    <message>
        <source>以 Tab 分隔的文字 (*.tsv);;以逗號分隔的文字 (*.csv)</source>
        <translation>Tab-separated text (*.tsv);;Comma-separated text (*.csv)</translation>
    </message>
</context>
<context>
    <name>FrmIni</name>
    <message>
        <source>無法開啟示範頁 %1：找不到可用的瀏覽器。請安裝網頁瀏覽器（xdg-open）後再試。</source>
        <translation>Cannot open the demonstration page %1: no web browser was found. Install a web browser (xdg-open) and try again.</translation>
    </message>
</context>
<context>
    <name>FrmTamvexMain</name>
    <message>
        <source>搜尋中……按 Esc 停止</source>
        <translation>Searching... press Esc to stop</translation>
    </message>
</context>
<context>
    <name>HighlightedPageWriter</name>
    <message>
        <source>: </source>
        <translation>: </translation>
    </message>
    <message>
        <source>Cannot create the folder</source>
        <translation>Cannot create the folder</translation>
    </message>
    <message>
        <source>Cannot open the page</source>
        <translation>Cannot open the page</translation>
    </message>
    <message>
        <source>Cannot read the page</source>
        <translation>Cannot read the page</translation>
    </message>
    <message>
        <source>Cannot delete the old temporary page</source>
        <translation>Cannot delete the old temporary page</translation>
    </message>
    <message>
        <source>Cannot create the temporary page</source>
        <translation>Cannot create the temporary page</translation>
    </message>
    <message>
        <source>Cannot write the temporary page</source>
        <translation>Cannot write the temporary page</translation>
    </message>
    <message>
        <source>The page is not a regular file (a FIFO, a device or a socket has its name)</source>
        <translation>The page is not a regular file (a FIFO, a device or a socket has its name)</translation>
    </message>
    <message>
        <source>The page is larger than %1 MB</source>
        <translation>The page is larger than %1 MB</translation>
    </message>
</context>
<context>
    <name>IndexBuild</name>
    <message>
        <source>out of memory</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>a record went missing while it was read</source>
        <translation>a record went missing while it was read</translation>
    </message>
    <message>
        <source>cannot open the file</source>
        <translation>cannot open the file</translation>
    </message>
    <message>
        <source>(open connection)</source>
        <translation>(open connection)</translation>
    </message>
    <message>
        <source>Could not index the database '%1': %2</source>
        <translation>Could not index the database '%1': %2</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <source>maindata has a column named _rowid_ that hides the row id</source>
        <translation>maindata has a column named _rowid_ that hides the row id</translation>
    </message>
    <message>
        <source>no such table: maindata</source>
        <translation>no such table: maindata</translation>
    </message>
    <message>
        <source>maindata has no row ids</source>
        <translation>maindata has no row ids</translation>
    </message>
    <message>
        <source>maindata holds more than 4294967295 records</source>
        <translation>maindata holds more than 4294967295 records</translation>
    </message>
    <message>
        <source>cannot read the scratch file</source>
        <translation>cannot read the scratch file</translation>
    </message>
    <message>
        <source>the postings could not be kept</source>
        <translation>the postings could not be kept</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>stopped</translation>
    </message>
    <message>
        <source>cannot create a scratch file in '%1': %2</source>
        <translation>cannot create a scratch file in '%1': %2</translation>
    </message>
    <message>
        <source>cannot write the scratch file: %1</source>
        <translation>cannot write the scratch file: %1</translation>
    </message>
</context>
<context>
    <name>IndexFile</name>
    <message>
        <source>Index file '%1': %2</source>
        <translation>Index file '%1': %2</translation>
    </message>
    <message>
        <source>cannot be written</source>
        <translation>cannot be written</translation>
    </message>
    <message>
        <source>too short</source>
        <translation>too short</translation>
    </message>
    <message>
        <source>of another format</source>
        <translation>of another format</translation>
    </message>
    <message>
        <source>damaged header</source>
        <translation>damaged header</translation>
    </message>
    <message>
        <source>made for another database file</source>
        <translation>made for another database file</translation>
    </message>
    <message>
        <source>damaged (sizes)</source>
        <translation>damaged (sizes)</translation>
    </message>
    <message>
        <source>damaged checksums</source>
        <translation>damaged checksums</translation>
    </message>
    <message>
        <source>no memory to read it</source>
        <translation>no memory to read it</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>missing</translation>
    </message>
</context>
<context>
    <name>JetDatabase</name>
    <message>
        <source> Install an undamaged copy of the collection's database file jst.mdb in the program folder.</source>
        <translation> Install an undamaged copy of the collection's database file jst.mdb in the program folder.</translation>
    </message>
    <message>
        <source> Install the program again.</source>
        <translation> Install the program again.</translation>
    </message>
    <message>
        <source>Could not read the Jet database '%1': %2</source>
        <translation>Could not read the Jet database '%1': %2</translation>
    </message>
    <message>
        <source>the file does not exist.</source>
        <translation>the file does not exist.</translation>
    </message>
    <message>
        <source>the file is not a Jet database or cannot be read.</source>
        <translation>the file is not a Jet database or cannot be read.</translation>
    </message>
    <message>
        <source>.</source>
        <comment>the mark that ends a reason</comment>
        <translation>.</translation>
    </message>
</context>
<context>
    <name>JetReader</name>
    <message>
        <source>the file cannot be opened as a Jet database</source>
        <translation>the file cannot be opened as a Jet database</translation>
    </message>
    <message>
        <source>the file's code page %1 is not known to this system</source>
        <translation>the file's code page %1 is not known to this system</translation>
    </message>
    <message>
        <source>the file's table catalogue cannot be read; the file is damaged or not a Jet database</source>
        <translation>the file's table catalogue cannot be read; the file is damaged or not a Jet database</translation>
    </message>
    <message>
        <source>the file holds no table maindata</source>
        <translation>the file holds no table maindata</translation>
    </message>
    <message>
        <source>the definition of table maindata cannot be read; the file is damaged</source>
        <translation>the definition of table maindata cannot be read; the file is damaged</translation>
    </message>
    <message>
        <source>table maindata has no column %1</source>
        <translation>table maindata has no column %1</translation>
    </message>
    <message>
        <source>row %1 of table maindata cannot be located again</source>
        <translation>row %1 of table maindata cannot be located again</translation>
    </message>
    <message>
        <source>row %1 of table maindata cannot be read</source>
        <translation>row %1 of table maindata cannot be read</translation>
    </message>
    <message>
        <source>row %1 of table maindata, column %2 has a damaged memo header</source>
        <translation>row %1 of table maindata, column %2 has a damaged memo header</translation>
    </message>
    <message>
        <source>row %1 of table maindata, column %2: its memo value is damaged (%3 bytes read, %4 declared); the file is damaged</source>
        <translation>row %1 of table maindata, column %2: its memo value is damaged (%3 bytes read, %4 declared); the file is damaged</translation>
    </message>
</context>
<context>
    <name>JetReaderProcess</name>
    <message>
        <source>%1 (reader: %2)</source>
        <translation>%1 (reader: %2)</translation>
    </message>
    <message>
        <source>the Jet reader program '%1' is missing or cannot be run</source>
        <translation>the Jet reader program '%1' is missing or cannot be run</translation>
    </message>
    <message>
        <source>the Jet reader program '%1' could not be started: %2</source>
        <translation>the Jet reader program '%1' could not be started: %2</translation>
    </message>
    <message>
        <source>reading took longer than %1 seconds and was stopped; the file may be damaged</source>
        <translation>reading took longer than %1 seconds and was stopped; the file may be damaged</translation>
    </message>
    <message>
        <source>the Jet reader stopped abnormally; the file may be damaged</source>
        <translation>the Jet reader stopped abnormally; the file may be damaged</translation>
    </message>
    <message>
        <source>the Jet reader's output ended early (exit code %1)</source>
        <translation>the Jet reader's output ended early (exit code %1)</translation>
    </message>
    <message>
        <source>the Jet reader sent %1 rows but counted %2</source>
        <translation>the Jet reader sent %1 rows but counted %2</translation>
    </message>
    <message>
        <source>%1 rows of table maindata could be read, but the table holds %2; the file is damaged</source>
        <translation>%1 rows of table maindata could be read, but the table holds %2; the file is damaged</translation>
    </message>
</context>
<context>
    <name>JetSqliteLoader</name>
    <message>
        <source>the in-memory copy could not be built: %1</source>
        <translation>the in-memory copy could not be built: %1</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>out of memory</translation>
    </message>
</context>
<context>
    <name>JetStatement</name>
    <message>
        <source>Syntax error in query: %1.</source>
        <translation>Syntax error in query: %1.</translation>
    </message>
    <message>
        <source>a string without its closing apostrophe</source>
        <translation>a string without its closing apostrophe</translation>
    </message>
    <message>
        <source>a "[" name without its "]"</source>
        <translation>a "[" name without its "]"</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument: chr(%1).</source>
        <translation>Invalid procedure call or argument: chr(%1).</translation>
    </message>
</context>
<context>
    <name>JetWireParser</name>
    <message>
        <source>the reader's output does not start with the expected mark</source>
        <translation>the reader's output does not start with the expected mark</translation>
    </message>
    <message>
        <source>the reader wrote data after its last record</source>
        <translation>the reader wrote data after its last record</translation>
    </message>
    <message>
        <source>the reader's output holds an unknown record</source>
        <translation>the reader's output holds an unknown record</translation>
    </message>
    <message>
        <source>the reader's output holds a value of unknown kind</source>
        <translation>the reader's output holds a value of unknown kind</translation>
    </message>
</context>
<context>
    <name>LikePattern</name>
    <message>
        <source>Invalid pattern string: %1 in the like pattern '%2'.</source>
        <translation>Invalid pattern string: %1 in the like pattern '%2'.</translation>
    </message>
    <message>
        <source>a "[" without its "]"</source>
        <translation>a "[" without its "]"</translation>
    </message>
    <message>
        <source>a range that runs backwards</source>
        <translation>a range that runs backwards</translation>
    </message>
</context>
<context>
    <name>PageHits</name>
    <message>
        <source>共 %1 處</source>
        <translation>hits: %1</translation>
    </message>
    <message>
        <source>第 %1／%2 處</source>
        <translation>hit %1 of %2</translation>
    </message>
</context>
<context>
    <name>RecordPrinter</name>
    <message>
        <source>沒有可用的印表機，無法列印。請先在系統中安裝或設定預設印表機。</source>
        <translation>No printer is available; nothing was printed. Install or set a default printer first.</translation>
    </message>
    <message>
        <source>無法開始列印：印表機沒有回應。</source>
        <translation>Printing could not start: the printer does not respond.</translation>
    </message>
</context>
<context>
    <name>SqliteDialect</name>
    <message>
        <source>pattern group missing</source>
        <translation>pattern group missing</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>Invalid procedure call or argument</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The statement was rejected</source>
        <translation>The statement was rejected</translation>
    </message>
    <message>
        <source>The statement is empty.</source>
        <translation>The statement is empty.</translation>
    </message>
    <message>
        <source>Characters found after end of SQL statement.</source>
        <translation>Characters found after end of SQL statement.</translation>
    </message>
    <message>
        <source>Only a select of two columns can run.</source>
        <translation>Only a select of two columns can run.</translation>
    </message>
    <message>
        <source>The statement failed</source>
        <translation>The statement failed</translation>
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
        <translation>usage: tamvex-cli statement [--variants] [--program-folder DIR] QUERY
       tamvex-cli search [--variants] [--program-folder DIR] QUERY
       tamvex-cli index [--program-folder DIR]
       tamvex-cli mark [--variants] [--program-folder DIR] PAGEPATH TERMS
       tamvex-cli kwic [--variants] [--program-folder DIR] [--width N] QUERY
--variants: each character also finds its variant and traditional forms
(the table variant-classes.txt and variant-edits.txt of the folder)
</translation>
    </message>
    <message>
        <source>tamvex-cli kwic: %1
usage: tamvex-cli kwic [--variants] [--program-folder DIR] [--width N] QUERY
</source>
        <translation>tamvex-cli kwic: %1
usage: tamvex-cli kwic [--variants] [--program-folder DIR] [--width N] QUERY
</translation>
    </message>
    <message>
        <source>--width takes a number of characters from 0 to 10000, not '%1'.</source>
        <translation>--width takes a number of characters from 0 to 10000, not '%1'.</translation>
    </message>
    <message>
        <source>unknown option '%1'.</source>
        <translation>unknown option '%1'.</translation>
    </message>
    <message>
        <source>give one QUERY (quote it when it holds blanks).</source>
        <translation>give one QUERY (quote it when it holds blanks).</translation>
    </message>
    <message>
        <source>tamvex-cli kwic: the query has no term to look for.
</source>
        <translation>tamvex-cli kwic: the query has no term to look for.
</translation>
    </message>
    <message>
        <source>tamvex-cli kwic: no occurrence of the terms.
</source>
        <translation>tamvex-cli kwic: no occurrence of the terms.
</translation>
    </message>
    <message>
        <source>[%1%2] %3/%4 records  %5 MB/s  %6 s left </source>
        <translation>[%1%2] %3/%4 records  %5 MB/s  %6 s left </translation>
    </message>
</context>
<context>
    <name>TermIndexRegistry</name>
    <message>
        <source>Could not create the folder '%1' for the index.</source>
        <translation>Could not create the folder '%1' for the index.</translation>
    </message>
    <message>
        <source>Could not write the index into the folder '%1'.</source>
        <translation>Could not write the index into the folder '%1'.</translation>
    </message>
    <message>
        <source>The database '%1' changed while it was indexed.</source>
        <translation>The database '%1' changed while it was indexed.</translation>
    </message>
    <message>
        <source>Could not index the database '%1': %2</source>
        <translation>Could not index the database '%1': %2</translation>
    </message>
    <message>
        <source>The database '%1' has changes not yet written into it (a -wal or -journal file beside it). Close the program that writes it, then index again.</source>
        <translation>The database '%1' has changes not yet written into it (a -wal or -journal file beside it). Close the program that writes it, then index again.</translation>
    </message>
    <message>
        <source>Could not find file '%1'.</source>
        <translation>Could not find file '%1'.</translation>
    </message>
    <message>
        <source>The database '%1' is not an SQLite file.</source>
        <translation>The database '%1' is not an SQLite file.</translation>
    </message>
    <message>
        <source>The index of '%1' could not be read back.</source>
        <translation>The index of '%1' could not be read back.</translation>
    </message>
</context>
<context>
    <name>VariantSwitch</name>
    <message>
        <source>異體字、簡體字通檢：開（按 F8 關閉）</source>
        <translation>Variant and simplified characters: on (F8 turns it off)</translation>
    </message>
</context>
<context>
    <name>VariantTable</name>
    <message>
        <source>Cannot open the variant table: %1</source>
        <translation>Cannot open the variant table: %1</translation>
    </message>
    <message>
        <source>Cannot read the variant table: %1</source>
        <translation>Cannot read the variant table: %1</translation>
    </message>
    <message>
        <source>The variant table is not UTF-8: %1</source>
        <translation>The variant table is not UTF-8: %1</translation>
    </message>
</context>
<context>
    <name>frmBrowser</name>
    <message>
        <source>%1：無法切換到這個資料夾。</source>
        <translation>%1: cannot change to this folder.</translation>
    </message>
</context>
</TS>