<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>Calls</name>
    <message>
        <source>Invalid Caller ID</source>
        <translation>Ungültige Rufnummer</translation>
    </message>
    <message>
        <source>Delete entry for %1</source>
        <translation>Eintrag für %1 löschen</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>(Name)</source>
        <translation>(Name)</translation>
    </message>
    <message>
        <source>(CallerID)</source>
        <translation>(Rufnummer)</translation>
    </message>
    <message>
        <source>Choose Picture</source>
        <translation>Bild auswählen</translation>
    </message>
    <message>
        <source>Pictures (*.png *.PNG *.jpg *.JPG *.jpeg *.JPEG *.bmp *.BMP *.gif *.GIF)</source>
        <translation>Bilder (*.png *.PNG *.jpg *.JPG *.jpeg *.JPEG *.bmp *.BMP *.gif *.GIF)</translation>
    </message>
</context>
<context>
    <name>Contacts</name>
    <message>
        <source>the card has no END:VCARD</source>
        <translation>die Karte hat kein END:VCARD</translation>
    </message>
    <message>
        <source>line %1 is not a vCard property</source>
        <translation>Zeile %1 ist keine vCard-Eigenschaft</translation>
    </message>
    <message>
        <source>no name</source>
        <translation>kein Name</translation>
    </message>
    <message>
        <source>no telephone number</source>
        <translation>keine Telefonnummer</translation>
    </message>
    <message>
        <source>already stored</source>
        <translation>bereits gespeichert</translation>
    </message>
    <message>
        <source>an earlier contact in the file has this name</source>
        <translation>ein früherer Kontakt in der Datei hat diesen Namen</translation>
    </message>
    <message>
        <source>photo could not be read, the default picture is used</source>
        <translation>Foto nicht lesbar, das Standardbild wird verwendet</translation>
    </message>
    <message>
        <source>photo could not be read, the picture is kept</source>
        <translation>Foto nicht lesbar, das bisherige Bild bleibt</translation>
    </message>
    <message>
        <source>card at line %1</source>
        <translation>Karte in Zeile %1</translation>
    </message>
    <message>
        <source>Added: %1</source>
        <translation>Hinzugefügt: %1</translation>
    </message>
    <message>
        <source>Replaced: %1</source>
        <translation>Ersetzt: %1</translation>
    </message>
    <message>
        <source>Skipped: %1</source>
        <translation>Übersprungen: %1</translation>
    </message>
    <message>
        <source>Notes:</source>
        <translation>Hinweise:</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>... und %1 weitere</translation>
    </message>
    <message>
        <source>The file holds no contacts.</source>
        <translation>Die Datei enthält keine Kontakte.</translation>
    </message>
    <message>
        <source>The import stopped: %1</source>
        <translation>Der Import wurde angehalten: %1</translation>
    </message>
    <message>
        <source>The import was cancelled.</source>
        <translation>Der Import wurde abgebrochen.</translation>
    </message>
    <message>
        <source>%1 contacts were left out.</source>
        <translation>%1 Kontakte wurden ausgelassen.</translation>
    </message>
    <message>
        <source>1 contact was left out.</source>
        <translation>1 Kontakt wurde ausgelassen.</translation>
    </message>
</context>
<context>
    <name>Framework</name>
    <message>
        <source>Cannot open file %1</source>
        <translation>Datei %1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Datei %1 kann nicht erstellt werden</translation>
    </message>
    <message>
        <source>File %1 not found</source>
        <translation>Datei %1 nicht gefunden</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigung</translation>
    </message>
</context>
<context>
    <name>LineAddress</name>
    <message>
        <source>Not a valid port: %1 (1 to 65535)</source>
        <translation>Kein gültiger Port: %1 (1 bis 65535)</translation>
    </message>
    <message>
        <source>No host name or address given</source>
        <translation>Kein Rechnername und keine Adresse angegeben</translation>
    </message>
    <message>
        <source>Not a valid IPv6 address: %1</source>
        <translation>Keine gültige IPv6-Adresse: %1</translation>
    </message>
    <message>
        <source>Not a valid host name or address: %1</source>
        <translation>Kein gültiger Rechnername und keine gültige Adresse: %1</translation>
    </message>
    <message>
        <source>No line given</source>
        <translation>Keine Leitung angegeben</translation>
    </message>
    <message>
        <source>Unknown kind of line: %1 (ncid:// or fritzbox://)</source>
        <translation>Unbekannte Art von Leitung: %1 (ncid:// oder fritzbox://)</translation>
    </message>
    <message>
        <source>An IPv6 address goes in brackets: [%1]</source>
        <translation>Eine IPv6-Adresse steht in eckigen Klammern: [%1]</translation>
    </message>
</context>
<context>
    <name>LineMessages</name>
    <message>
        <source>Line in use by another program</source>
        <translation>Leitung wird von einem anderen Programm benutzt</translation>
    </message>
    <message>
        <source>No answer from modem</source>
        <translation>Keine Antwort vom Modem</translation>
    </message>
    <message>
        <source>Caller ID not supported by modem</source>
        <translation>Rufnummernanzeige vom Modem nicht unterstützt</translation>
    </message>
    <message>
        <source>No line selected</source>
        <translation>Keine Leitung ausgewählt</translation>
    </message>
    <message>
        <source>Close the open line before selecting another</source>
        <translation>Schließen Sie die offene Leitung, bevor Sie eine andere auswählen</translation>
    </message>
    <message>
        <source>Media mode not supported (only 16)</source>
        <translation>Medienmodus nicht unterstützt (nur 16)</translation>
    </message>
    <message>
        <source>Call privilege not supported (only 6)</source>
        <translation>Anrufberechtigung nicht unterstützt (nur 6)</translation>
    </message>
</context>
<context>
    <name>LineStates</name>
    <message>
        <source>opening</source>
        <translation>wird geöffnet</translation>
    </message>
    <message>
        <source>open</source>
        <translation>offen</translation>
    </message>
    <message>
        <source>connecting</source>
        <translation>verbindet</translation>
    </message>
    <message>
        <source>connected</source>
        <translation>verbunden</translation>
    </message>
    <message>
        <source>closed</source>
        <translation>geschlossen</translation>
    </message>
    <message>
        <source>%1, retrying</source>
        <translation>%1, neuer Versuch folgt</translation>
    </message>
    <message>
        <source>Connection timed out</source>
        <translation>Zeitüberschreitung der Verbindung</translation>
    </message>
    <message>
        <source>No word from the server</source>
        <translation>Keine Nachricht vom Server</translation>
    </message>
    <message>
        <source>The server closed the connection</source>
        <translation>Der Server hat die Verbindung geschlossen</translation>
    </message>
    <message>
        <source>Modem not available</source>
        <translation>Modem nicht verfügbar</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
</context>
<context>
    <name>SerialDevice</name>
    <message>
        <source> (the user may need to be in the &quot;dialout&quot; group)</source>
        <translation> (der Benutzer muss eventuell in der Gruppe &quot;dialout&quot; sein)</translation>
    </message>
</context>
<context>
    <name>StartFailure</name>
    <message>
        <source>Path or file name not found</source>
        <translation>Pfad oder Dateiname nicht gefunden</translation>
    </message>
    <message>
        <source>Not enough memory</source>
        <translation>Nicht genügend Speicher</translation>
    </message>
    <message>
        <source>Invalid argument</source>
        <translation>Ungültiges Argument</translation>
    </message>
    <message>
        <source>Arg list too long</source>
        <translation>Argumentliste zu lang</translation>
    </message>
    <message>
        <source>Exec format error</source>
        <translation>Ungültiges Programmformat</translation>
    </message>
</context>
<context>
    <name>TCallCsvExport</name>
    <message>
        <source>The call log cannot be read.</source>
        <translation>Das Anrufprotokoll kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The file cannot be written.</source>
        <translation>Die Datei kann nicht geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>TCallLogLink</name>
    <message>
        <source>1 missed call</source>
        <translation>1 verpasster Anruf</translation>
    </message>
    <message>
        <source>%1 missed calls</source>
        <translation>%1 verpasste Anrufe</translation>
    </message>
</context>
<context>
    <name>TCallLogModel</name>
    <message>
        <source>Answered</source>
        <translation>Angenommen</translation>
    </message>
    <message>
        <source>Missed</source>
        <translation>Verpasst</translation>
    </message>
    <message>
        <source>Sent over D-Bus</source>
        <translation>Über D-Bus gesendet</translation>
    </message>
    <message>
        <source>Not open</source>
        <translation>Nicht geöffnet</translation>
    </message>
    <message>
        <source>Program started</source>
        <translation>Programm gestartet</translation>
    </message>
    <message>
        <source>Start error</source>
        <translation>Startfehler</translation>
    </message>
    <message>
        <source>Script ended</source>
        <translation>Skript beendet</translation>
    </message>
    <message>
        <source>Sent by the network as: %1</source>
        <translation>Vom Netz gesendet als: %1</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Nummer</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Leitung</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Forwarded</source>
        <translation>Weitergeleitet</translation>
    </message>
</context>
<context>
    <name>TCallLogReports</name>
    <message>
        <source>The call log was damaged. It has been moved aside as %1, and a new call log has been started.</source>
        <translation>Das Anrufprotokoll war beschädigt. Es wurde als %1 beiseitegelegt, und ein neues Anrufprotokoll wurde begonnen.</translation>
    </message>
    <message>
        <source>The call log cannot be written (%1). Calls are still shown and forwarded, and they are logged as soon as writing works again.</source>
        <translation>Das Anrufprotokoll kann nicht geschrieben werden (%1). Anrufe werden weiterhin angezeigt und weitergeleitet und protokolliert, sobald das Schreiben wieder gelingt.</translation>
    </message>
    <message>
        <source>The call log %1 was written by a newer version of Quorvel and is left as it is. Calls are not logged.</source>
        <translation>Das Anrufprotokoll %1 wurde von einer neueren Version von Quorvel geschrieben und bleibt unverändert. Anrufe werden nicht protokolliert.</translation>
    </message>
    <message>
        <source>The call log cannot be opened: the SQLite driver of Qt is not installed (Debian package libqt6sql6-sqlite). Calls are not logged.</source>
        <translation>Das Anrufprotokoll kann nicht geöffnet werden: Der SQLite-Treiber von Qt ist nicht installiert (Debian-Paket libqt6sql6-sqlite). Anrufe werden nicht protokolliert.</translation>
    </message>
</context>
<context>
    <name>TCallLogWindow</name>
    <message>
        <source>Call Log</source>
        <translation>Anrufprotokoll</translation>
    </message>
    <message>
        <source>Search name or number</source>
        <translation>Name oder Nummer suchen</translation>
    </message>
    <message>
        <source>&amp;Missed only</source>
        <translation>Nur &amp;verpasste</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Export CSV...</source>
        <translation>CSV &amp;exportieren...</translation>
    </message>
    <message>
        <source>&amp;Clear log...</source>
        <translation>Protokoll &amp;leeren...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&amp;Copy number</source>
        <translation>Nummer &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Save caller...</source>
        <translation>Anrufer &amp;speichern...</translation>
    </message>
    <message>
        <source>&amp;Delete entry</source>
        <translation>Eintrag &amp;löschen</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>CSV exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSV-Dateien (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>%1 calls exported to %2</source>
        <translation>%1 Anrufe nach %2 exportiert</translation>
    </message>
    <message>
        <source>Delete every call from the call log?</source>
        <translation>Alle Anrufe aus dem Anrufprotokoll löschen?</translation>
    </message>
</context>
<context>
    <name>TCallNotifier</name>
    <message>
        <source>(Unknown)</source>
        <translation>(Unbekannt)</translation>
    </message>
    <message>
        <source>%1 on %2</source>
        <translation>%1 auf %2</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
</context>
<context>
    <name>TImportContactsDialog</name>
    <message>
        <source>Import Contacts</source>
        <translation>Kontakte importieren</translation>
    </message>
    <message>
        <source>&amp;Contacts file (vCard):</source>
        <translation>&amp;Kontaktdatei (vCard):</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>&amp;Replace existing</source>
        <translation>Vorhandene &amp;ersetzen</translation>
    </message>
    <message>
        <source>vCard files (*.vcf *.vcard);;All files (*)</source>
        <translation>vCard-Dateien (*.vcf *.vcard);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Importing contacts...</source>
        <translation>Kontakte werden importiert...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>TIniDBase</name>
    <message>
        <source>Invalid Caller Name</source>
        <translation>Ungültiger Anrufername</translation>
    </message>
    <message>
        <source>Key string too long</source>
        <translation>Schlüssel zu lang</translation>
    </message>
    <message>
        <source>Data string too long</source>
        <translation>Daten zu lang</translation>
    </message>
    <message>
        <source>No fields defined in database</source>
        <translation>Keine Felder in der Datenbank definiert</translation>
    </message>
    <message>
        <source>Generic INI file write error</source>
        <translation>Allgemeiner Fehler beim Schreiben der INI-Datei</translation>
    </message>
    <message>
        <source>Generic INI file read error</source>
        <translation>Allgemeiner Fehler beim Lesen der INI-Datei</translation>
    </message>
    <message>
        <source>No index defined for database</source>
        <translation>Kein Index für die Datenbank definiert</translation>
    </message>
    <message>
        <source>Record already exists</source>
        <translation>Datensatz existiert bereits</translation>
    </message>
    <message>
        <source>Record not found in database</source>
        <translation>Datensatz nicht in der Datenbank gefunden</translation>
    </message>
    <message>
        <source>Maximum database records (999) reached</source>
        <translation>Höchstzahl an Datensätzen (999) erreicht</translation>
    </message>
    <message>
        <source>No records in database</source>
        <translation>Keine Datensätze in der Datenbank</translation>
    </message>
    <message>
        <source>iPrepareIniDatabase not called</source>
        <translation>iPrepareIniDatabase wurde nicht aufgerufen</translation>
    </message>
    <message>
        <source>Bad field list in INI component</source>
        <translation>Fehlerhafte Feldliste in der INI-Komponente</translation>
    </message>
    <message>
        <source>Bad field index in INI component</source>
        <translation>Fehlerhafter Feldindex in der INI-Komponente</translation>
    </message>
</context>
<context>
    <name>TNetworkLineDialog</name>
    <message>
        <source>Add Network Line</source>
        <translation>Netzwerkleitung hinzufügen</translation>
    </message>
    <message>
        <source>NCID server</source>
        <translation>NCID-Server</translation>
    </message>
    <message>
        <source>FRITZ!Box</source>
        <translation>FRITZ!Box</translation>
    </message>
    <message>
        <source>&amp;Kind:</source>
        <translation>&amp;Art:</translation>
    </message>
    <message>
        <source>&amp;Host:</source>
        <translation>&amp;Rechner:</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Port:</translation>
    </message>
    <message>
        <source>The computer that runs the NCID server (ncidd).</source>
        <translation>Der Rechner, auf dem der NCID-Server (ncidd) läuft.</translation>
    </message>
    <message>
        <source>The FRITZ!Box, usually fritz.box. Its call monitor is switched on once by dialling #96*5* from a telephone connected to it.</source>
        <translation>Die FRITZ!Box, meist fritz.box. Ihr Anrufmonitor wird einmalig eingeschaltet, indem man an einem angeschlossenen Telefon #96*5* wählt.</translation>
    </message>
</context>
<context>
    <name>TQuorvelApplication</name>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>TQuorvelForm</name>
    <message>
        <source>About Quorvel</source>
        <translation>Über Quorvel</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Select modem</source>
        <translation>Modem &amp;auswählen</translation>
    </message>
    <message>
        <source>Add &amp;Network Line...</source>
        <translation>&amp;Netzwerkleitung hinzufügen...</translation>
    </message>
    <message>
        <source>Call &amp;Log...</source>
        <translation>Anruf&amp;protokoll...</translation>
    </message>
    <message>
        <source>&amp;Region...</source>
        <translation>&amp;Region...</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Mode</source>
        <translation>&amp;Modus</translation>
    </message>
    <message>
        <source>&amp;Active</source>
        <translation>&amp;Aktiv</translation>
    </message>
    <message>
        <source>&amp;Passive</source>
        <translation>&amp;Passiv</translation>
    </message>
    <message>
        <source>Desktop &amp;Notifications</source>
        <translation>Desktop-&amp;Benachrichtigungen</translation>
    </message>
    <message>
        <source>&amp;Record</source>
        <translation>&amp;Eintrag</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Add/Save Current</source>
        <translation>Aktuellen &amp;hinzufügen/speichern</translation>
    </message>
    <message>
        <source>&amp;Delete Current</source>
        <translation>Aktuellen &amp;löschen</translation>
    </message>
    <message>
        <source>Choose &amp;Picture...</source>
        <translation>&amp;Bild auswählen...</translation>
    </message>
    <message>
        <source>&amp;Import Contacts...</source>
        <translation>Kontakte &amp;importieren...</translation>
    </message>
    <message>
        <source>&amp;Setup</source>
        <translation>Ein&amp;richtung</translation>
    </message>
    <message>
        <source>&amp;?</source>
        <translation>&amp;?</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Call &amp;Log</source>
        <translation>Anruf&amp;protokoll</translation>
    </message>
    <message>
        <source>Quorvel
Version %1</source>
        <translation>Quorvel
Version %1</translation>
    </message>
    <message>
        <source>Calling...</source>
        <translation>Anruf...</translation>
    </message>
    <message>
        <source>(Unknown)</source>
        <translation>(Unbekannt)</translation>
    </message>
    <message>
        <source>(Not transmitted)</source>
        <translation>(Nicht übermittelt)</translation>
    </message>
    <message>
        <source>Caller ID</source>
        <translation>Rufnummer</translation>
    </message>
    <message>
        <source>Save to database</source>
        <translation>In Datenbank speichern</translation>
    </message>
    <message>
        <source>There are no modems defined on this computer. The application will quit!</source>
        <translation>Auf diesem Computer sind keine Modems eingerichtet. Die Anwendung wird beendet!</translation>
    </message>
    <message>
        <source> =&gt; Modem not available </source>
        <translation> =&gt; Modem nicht verfügbar </translation>
    </message>
</context>
<context>
    <name>TRegionDialog</name>
    <message>
        <source>Region</source>
        <translation>Region</translation>
    </message>
    <message>
        <source>Numbers without a country code are numbers of:</source>
        <translation>Nummern ohne Landesvorwahl sind Nummern von:</translation>
    </message>
</context>
<context>
    <name>TRemoteAction</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Can not start %1</source>
        <translation>%1 kann nicht gestartet werden</translation>
    </message>
</context>
<context>
    <name>TSaveCallerDialog</name>
    <message>
        <source>Save caller</source>
        <translation>Anrufer speichern</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>N&amp;umber:</source>
        <translation>N&amp;ummer:</translation>
    </message>
</context>
<context>
    <name>TfDDESetup</name>
    <message>
        <source>Application</source>
        <translation>Anwendung</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>DDE Link</source>
        <translation>DDE-Verbindung</translation>
    </message>
    <message>
        <source>VBS Script</source>
        <translation>VBS-Skript</translation>
    </message>
    <message>
        <source>Topic</source>
        <translation>Thema</translation>
    </message>
    <message>
        <source>Start if not yet running</source>
        <translation>Starten, falls nicht aktiv</translation>
    </message>
    <message>
        <source>EXE Path</source>
        <translation>EXE-Pfad</translation>
    </message>
    <message>
        <source>DB Path</source>
        <translation>DB-Pfad</translation>
    </message>
    <message>
        <source>Poke data</source>
        <translation>Daten</translation>
    </message>
    <message>
        <source>to location</source>
        <translation>an Stelle</translation>
    </message>
    <message>
        <source>Command(s)</source>
        <translation>Befehl(e)</translation>
    </message>
    <message>
        <source>Close &amp;&amp; Select</source>
        <translation>Schließen &amp;&amp; Wählen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Cannot create settings for [%1]: a profile name must not contain &quot;/&quot; or &quot;\&quot;.</source>
        <translation>Einstellungen für [%1] können nicht angelegt werden: Ein Profilname darf weder &quot;/&quot; noch &quot;\&quot; enthalten.</translation>
    </message>
    <message>
        <source>Remote Setup</source>
        <translation>Weiterleitung einrichten</translation>
    </message>
    <message>
        <source>Click for file selection</source>
        <translation>Klicken zur Dateiauswahl</translation>
    </message>
    <message>
        <source>Create new settings for [%1]</source>
        <translation>Neue Einstellungen für [%1] anlegen</translation>
    </message>
    <message>
        <source>Delete settings for [%1]</source>
        <translation>Einstellungen für [%1] löschen</translation>
    </message>
    <message>
        <source>Applications (*.exe);;All files (*)</source>
        <translation>Anwendungen (*.exe);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Application is already running</source>
        <translation>Die Anwendung läuft bereits</translation>
    </message>
</context>
</TS>
