<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>DataDirNotice</name>
    <message>
        <source>Tasks saved while your data folder could not be used are in %1.</source>
        <translation>Aufgaben, die gespeichert wurden, während Ihr Datenordner nicht benutzbar war, liegen in %1.</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keiner)</translation>
    </message>
    <message>
        <source>Neither the data folder %1 nor %2 can be made: your tasks cannot be saved, Jotlark keeps them only while it runs.</source>
        <translation>Weder der Datenordner %1 noch %2 kann angelegt werden: Ihre Aufgaben können nicht gespeichert werden, Jotlark behält sie nur, solange es läuft.</translation>
    </message>
    <message>
        <source>The data folder %1 cannot be used: your tasks are kept in %2.</source>
        <translation>Der Datenordner %1 ist nicht benutzbar: Ihre Aufgaben werden in %2 aufbewahrt.</translation>
    </message>
</context>
<context>
    <name>DavTransport</name>
    <message numerus="yes">
        <source>no answer in %n seconds</source>
        <translation>
            <numerusform>keine Antwort in %n Sekunde</numerusform>
            <numerusform>keine Antwort in %n Sekunden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the answer is larger than %n MiB</source>
        <translation>
            <numerusform>die Antwort ist größer als %n MiB</numerusform>
            <numerusform>die Antwort ist größer als %n MiB</numerusform>
        </translation>
    </message>
    <message>
        <source>the server&apos;s certificate is not trusted</source>
        <translation>dem Zertifikat des Servers wird nicht vertraut</translation>
    </message>
    <message>
        <source>host %1 not found</source>
        <translation>Host %1 nicht gefunden</translation>
    </message>
    <message>
        <source>connection refused by %1</source>
        <translation>Verbindung von %1 abgelehnt</translation>
    </message>
    <message>
        <source>the connection timed out</source>
        <translation>Zeitüberschreitung der Verbindung</translation>
    </message>
    <message>
        <source>the server closed the connection</source>
        <translation>der Server hat die Verbindung geschlossen</translation>
    </message>
    <message>
        <source>no secure connection to %1</source>
        <translation>keine sichere Verbindung zu %1</translation>
    </message>
    <message>
        <source>a redirect without an address</source>
        <translation>eine Umleitung ohne Adresse</translation>
    </message>
    <message numerus="yes">
        <source>more than %n redirects</source>
        <translation>
            <numerusform>mehr als %n Umleitung</numerusform>
            <numerusform>mehr als %n Umleitungen</numerusform>
        </translation>
    </message>
    <message>
        <source>redirected to an address that is not encrypted</source>
        <translation>auf eine unverschlüsselte Adresse umgeleitet</translation>
    </message>
</context>
<context>
    <name>DavXml</name>
    <message>
        <source>The answer is larger than %1 MiB.</source>
        <translation>Die Antwort ist größer als %1 MiB.</translation>
    </message>
    <message>
        <source>The answer declares a document type.</source>
        <translation>Die Antwort deklariert einen Dokumenttyp.</translation>
    </message>
    <message>
        <source>The answer is not a WebDAV multistatus.</source>
        <translation>Die Antwort ist kein WebDAV-Multistatus.</translation>
    </message>
    <message>
        <source>Malformed answer (line %1): %2</source>
        <translation>Fehlerhafte Antwort (Zeile %1): %2</translation>
    </message>
</context>
<context>
    <name>Discovery</name>
    <message>
        <source>The server says: %1</source>
        <translation>Der Server sagt: %1</translation>
    </message>
    <message>
        <source>This system does not trust the server&apos;s certificate. Its SHA-256 fingerprint is %1.</source>
        <translation>Dieses System vertraut dem Zertifikat des Servers nicht. Sein SHA-256-Fingerabdruck ist %1.</translation>
    </message>
    <message>
        <source>The server cannot be reached: %1</source>
        <translation>Der Server ist nicht erreichbar: %1</translation>
    </message>
    <message>
        <source>The server refused this user name or password.</source>
        <translation>Der Server hat diesen Benutzernamen oder dieses Passwort abgelehnt.</translation>
    </message>
    <message>
        <source>The server failed (error %1).</source>
        <translation>Der Server ist gescheitert (Fehler %1).</translation>
    </message>
    <message>
        <source>The server refused access to this address.</source>
        <translation>Der Server hat den Zugriff auf diese Adresse verweigert.</translation>
    </message>
    <message>
        <source>This address is not a CalDAV server: no calendars were found there.</source>
        <translation>Diese Adresse ist kein CalDAV-Server: Dort wurden keine Kalender gefunden.</translation>
    </message>
    <message>
        <source>This server names no calendars for this user: it is not a CalDAV server.</source>
        <translation>Dieser Server nennt keine Kalender für diesen Benutzer: Er ist kein CalDAV-Server.</translation>
    </message>
    <message>
        <source>The server did not list the calendars.</source>
        <translation>Der Server hat die Kalender nicht aufgelistet.</translation>
    </message>
    <message>
        <source>There is no task list on this server yet: a new one can be made.</source>
        <translation>Auf diesem Server gibt es noch keine Aufgabenliste: Eine neue kann angelegt werden.</translation>
    </message>
    <message>
        <source>The server did not make the new list (error %1).</source>
        <translation>Der Server hat die neue Liste nicht angelegt (Fehler %1).</translation>
    </message>
    <message>
        <source>The server did not list the tasks (error %1).</source>
        <translation>Der Server hat die Aufgaben nicht aufgelistet (Fehler %1).</translation>
    </message>
</context>
<context>
    <name>StartCheck</name>
    <message>
        <source>Jotlark is already running (process %1) but does not answer.

Wait for it or end it, then start Jotlark again.</source>
        <translation>Jotlark läuft bereits (Prozess %1), antwortet aber nicht.

Warten Sie oder beenden Sie ihn, und starten Sie Jotlark dann erneut.</translation>
    </message>
    <message>
        <source>Jotlark cannot replace the lock file %1 left by an earlier run.

Remove it, then start Jotlark again.</source>
        <translation>Jotlark kann die von einem früheren Lauf hinterlassene Sperrdatei %1 nicht ersetzen.

Entfernen Sie sie und starten Sie Jotlark dann erneut.</translation>
    </message>
    <message>
        <source>Your tasks are in use by Jotlark on %1 (process %2), as the lock file %3 says.</source>
        <translation>Ihre Aufgaben werden von Jotlark auf %1 verwendet (Prozess %2), wie die Sperrdatei %3 angibt.</translation>
    </message>
    <message>
        <source>

Start Jotlark here anyway? If both run, each may overwrite the other&apos;s changes.</source>
        <translation>

Jotlark trotzdem hier starten? Wenn beide laufen, kann jeder die Änderungen des anderen überschreiben.</translation>
    </message>
    <message>
        <source>Jotlark was not started.</source>
        <translation>Jotlark wurde nicht gestartet.</translation>
    </message>
    <message>
        <source>Jotlark cannot replace the lock file %1.</source>
        <translation>Jotlark kann die Sperrdatei %1 nicht ersetzen.</translation>
    </message>
    <message>
        <source>

Its socket folder %1 was made by another user, or is open to others: remove it, then start Jotlark again.</source>
        <translation>

Sein Socket-Ordner %1 wurde von einem anderen Benutzer angelegt oder ist für andere offen: Entfernen Sie ihn und starten Sie Jotlark dann erneut.</translation>
    </message>
    <message>
        <source>Start Jotlark without arguments to choose.</source>
        <translation>Starten Sie Jotlark ohne Argumente, um zu wählen.</translation>
    </message>
</context>
<context>
    <name>SyncDialog</name>
    <message>
        <source>Sync with a CalDAV server</source>
        <translation>Mit einem CalDAV-Server abgleichen</translation>
    </message>
    <message>
        <source>dav.example.org</source>
        <translation>dav.example.org</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Task lists</source>
        <translation>Aufgabenlisten</translation>
    </message>
    <message>
        <source>Sync with this list</source>
        <translation>Mit dieser Liste abgleichen</translation>
    </message>
    <message>
        <source>Stop syncing</source>
        <translation>Abgleich beenden</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Server &amp;address:</source>
        <translation>Server&amp;adresse:</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Benutzername:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Passwort:</translation>
    </message>
    <message>
        <source>Syncing with %1.</source>
        <translation>Abgleich mit %1.</translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation>Verbinde…</translation>
    </message>
    <message>
        <source>Type the server&apos;s address.</source>
        <translation>Geben Sie die Adresse des Servers ein.</translation>
    </message>
    <message>
        <source>Type the user name.</source>
        <translation>Geben Sie den Benutzernamen ein.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate is not the one accepted before, and this system does not trust it: it is refused. Its SHA-256 fingerprint is %1.</source>
        <translation>Das Zertifikat des Servers ist nicht das zuvor angenommene, und dieses System vertraut ihm nicht: Es wird abgelehnt. Sein SHA-256-Fingerabdruck ist %1.</translation>
    </message>
    <message>
        <source>Certificate not trusted</source>
        <translation>Zertifikat nicht vertrauenswürdig</translation>
    </message>
    <message>
        <source>Home servers often sign their own certificate. Trust it only if this fingerprint is the one the server shows. Trust this certificate?</source>
        <translation>Heimserver signieren ihr Zertifikat oft selbst. Vertrauen Sie ihm nur, wenn dieser Fingerabdruck der ist, den der Server anzeigt. Diesem Zertifikat vertrauen?</translation>
    </message>
    <message>
        <source>New list &quot;Jotlark&quot;</source>
        <translation>Neue Liste „Jotlark“</translation>
    </message>
    <message>
        <source>Pick the task list to sync with.</source>
        <translation>Wählen Sie die Aufgabenliste für den Abgleich.</translation>
    </message>
    <message>
        <source>Sync both lists</source>
        <translation>Beide Listen abgleichen</translation>
    </message>
    <message>
        <source>This list and the server&apos;s both hold tasks. %1 are on both sides and will be linked; %2 will go to the server and %3 will come here. No task is deleted. Sync them?</source>
        <translation>Diese Liste und die des Servers enthalten beide Aufgaben. %1 sind auf beiden Seiten und werden verknüpft; %2 gehen zum Server und %3 kommen hierher. Keine Aufgabe wird gelöscht. Abgleichen?</translation>
    </message>
    <message>
        <source>Nothing was set up.</source>
        <translation>Es wurde nichts eingerichtet.</translation>
    </message>
    <message>
        <source>The settings could not be written: %1</source>
        <translation>Die Einstellungen konnten nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>No keyring keeps passwords on this desktop (%1): the password is kept until Jotlark ends, and asked for at the next start.</source>
        <translation>Auf diesem Desktop bewahrt kein Schlüsselbund Passwörter auf (%1): Das Passwort wird behalten, bis Jotlark endet, und beim nächsten Start erfragt.</translation>
    </message>
    <message>
        <source>The settings could not be removed.</source>
        <translation>Die Einstellungen konnten nicht entfernt werden.</translation>
    </message>
    <message>
        <source>Sync is stopped. No task was removed, here or on the server.</source>
        <translation>Der Abgleich ist beendet. Keine Aufgabe wurde entfernt, weder hier noch auf dem Server.</translation>
    </message>
    <message>
        <source>The password could not be removed from the keyring: %1</source>
        <translation>Das Passwort konnte nicht aus dem Schlüsselbund entfernt werden: %1</translation>
    </message>
</context>
<context>
    <name>f_help</name>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Help text</source>
        <translation>Hilfetext</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Create a task :<byte value="xd"/>
---------------------<byte value="xd"/>
Click on &quot;New&quot; and type the task content. You can add a date/time <byte value="xd"/>
alarm if you click on &quot;Alarm&quot;.<byte value="xd"/>
Close the window by clicking on the right up cross, the informations <byte value="xd"/>
will be saved in any case.<byte value="xd"/>
You can also create a task by right clicking the icon in the task bar <byte value="xd"/>
and select &quot;New&quot;.<byte value="xd"/>
<byte value="xd"/>
Show a task :<byte value="xd"/>
--------------------<byte value="xd"/>
If the window is not already shown, you can show it by selecting it in <byte value="xd"/>
the list and by clicking on &quot;Show&quot;. You can also double-click in the <byte value="xd"/>
list.<byte value="xd"/>
<byte value="xd"/>
Delete a task :<byte value="xd"/>
---------------------<byte value="xd"/>
Select it in the list and click on &quot;Delete&quot;.<byte value="xd"/>
</source>
        <translation>Eine Aufgabe anlegen:
---------------------
Klicken Sie auf „Neue Aufgabe“ und geben Sie den Inhalt ein. Mit 
„Erinnerung“ können Sie eine Erinnerung (Datum/Uhrzeit) hinzufügen.
Schließen Sie das Fenster mit dem Kreuz oben rechts, die Angaben 
werden in jedem Fall gespeichert.
Sie können eine Aufgabe auch mit einem Rechtsklick auf das Symbol im 
Benachrichtigungsfeld und der Wahl von „Neu“ anlegen.

Eine Aufgabe anzeigen:
--------------------
Ist das Fenster noch nicht zu sehen, wählen Sie die Aufgabe in der 
Liste aus und klicken Sie auf „Anzeigen“. Sie können auch in der 
Liste doppelklicken.

Eine Aufgabe löschen:
---------------------
Wählen Sie sie in der Liste aus und klicken Sie auf „Löschen“.
</translation>
    </message>
    <message>
        <source>Snooze :<byte value="xd"/>
--------<byte value="xd"/>
When an alarm rings, its notification offers &quot;Snooze&quot;, which rings <byte value="xd"/>
it again 10 minutes later, and &quot;Snooze 1 hour&quot;, an hour later, to <byte value="xd"/>
the minute: answered at %1, they ring at %2 and at %3.<byte value="xd"/>
<byte value="xd"/>
Repeat an alarm :<byte value="xd"/>
-----------------<byte value="xd"/>
Choose in &quot;Repeat&quot; how the alarm comes back: every day, every <byte value="xd"/>
weekday (Monday to Friday), every week, every month or every year. <byte value="xd"/>
When it rings, it moves on to its next time by itself. For a day <byte value="xd"/>
after the 16 listed, choose &quot;Other date…&quot; in the day list.<byte value="xd"/>
<byte value="xd"/>
Add a task from anywhere :<byte value="xd"/>
--------------------------<byte value="xd"/>
jotlark --new &quot;Call Anna&quot; --at 10:30 adds a task with an alarm to <byte value="xd"/>
the running Jotlark; bind it to a key of your desktop to add tasks <byte value="xd"/>
without opening Jotlark first.<byte value="xd"/>
</source>
        <translation>Schlummern:<byte value="xd"/>
-----------<byte value="xd"/>
Wenn eine Erinnerung fällig ist, bietet ihre Benachrichtigung „Schlummern“ an, <byte value="xd"/>
das sie 10 Minuten später erneut auslöst, und „1 Stunde schlummern“, eine <byte value="xd"/>
Stunde später, auf die Minute: um %1 beantwortet, lösen sie um %2 und %3 aus.<byte value="xd"/>
<byte value="xd"/>
Eine Erinnerung wiederholen:<byte value="xd"/>
----------------------------<byte value="xd"/>
Wählen Sie unter „Wiederholen“, wie die Erinnerung wiederkommt: jeden Tag, <byte value="xd"/>
jeden Werktag (Montag bis Freitag), jede Woche, jeden Monat oder jedes Jahr. <byte value="xd"/>
Wenn sie fällig wird, geht sie von selbst zu ihrem nächsten Termin weiter. <byte value="xd"/>
Für einen Tag nach den 16 angebotenen wählen Sie „Anderes Datum…“ in der <byte value="xd"/>
Liste der Tage.<byte value="xd"/>
<byte value="xd"/>
Eine Aufgabe von überall hinzufügen:<byte value="xd"/>
------------------------------------<byte value="xd"/>
jotlark --new &quot;Anna anrufen&quot; --at 10:30 fügt dem laufenden Jotlark eine <byte value="xd"/>
Aufgabe mit Erinnerung hinzu; legen Sie den Befehl auf eine Taste Ihrer <byte value="xd"/>
Arbeitsumgebung, um Aufgaben hinzuzufügen, ohne Jotlark erst zu öffnen.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Calendar files :<byte value="xd"/>
----------------<byte value="xd"/>
&quot;File&quot; &gt; &quot;Export to calendar file…&quot; writes every task, with its <byte value="xd"/>
alarm and how it repeats, to an .ics file that Thunderbird, <byte value="xd"/>
Evolution or a phone&apos;s task app imports. &quot;Import calendar <byte value="xd"/>
file…&quot; adds the open tasks of such a file, except those already <byte value="xd"/>
here. From a terminal, jotlark --export tasks.ics writes the <byte value="xd"/>
same file (- for the standard output).<byte value="xd"/>
</source>
        <translation>Kalenderdateien :<byte value="xd"/>
-----------------<byte value="xd"/>
&quot;Datei&quot; &gt; &quot;In Kalenderdatei exportieren…&quot; schreibt jede <byte value="xd"/>
Aufgabe mit ihrer Erinnerung und Wiederholung in eine .ics-Datei, <byte value="xd"/>
die Thunderbird, Evolution oder die Aufgaben-App eines Telefons <byte value="xd"/>
importiert. &quot;Kalenderdatei importieren…&quot; fügt die offenen <byte value="xd"/>
Aufgaben einer solchen Datei hinzu, außer den schon vorhandenen. <byte value="xd"/>
Im Terminal schreibt jotlark --export aufgaben.ics dieselbe Datei <byte value="xd"/>
(- für die Standardausgabe).<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Undo a delete :<byte value="xd"/>
----------------<byte value="xd"/>
&quot;Edit&quot; &gt; &quot;Undo delete&quot; (Ctrl+Z) brings back the last deleted task, <byte value="xd"/>
or all that &quot;Delete all&quot; removed, at the end of the list: up to <byte value="xd"/>
the last 10 deletions while Jotlark runs. Deleted tasks are also <byte value="xd"/>
kept in planifs.txt.deleted, beside the list.<byte value="xd"/>
A new task whose note you close with no text and no alarm is not <byte value="xd"/>
kept.<byte value="xd"/>
<byte value="xd"/>
Alarms that rang :<byte value="xd"/>
------------------<byte value="xd"/>
The list shows an alarm that has rung in grey. A note whose alarm <byte value="xd"/>
rings stays red, even closed and shown again, until you snooze the <byte value="xd"/>
alarm, change it or choose &quot;No alarm&quot;.<byte value="xd"/>
</source>
        <translation>Löschen rückgängig machen:<byte value="xd"/>
--------------------------<byte value="xd"/>
„Bearbeiten“ &gt; „Löschen rückgängig machen“ (Strg+Z) holt die zuletzt <byte value="xd"/>
gelöschte Aufgabe zurück, oder alle, die „Alle löschen“ entfernt hat, ans <byte value="xd"/>
Ende der Liste: bis zu den letzten 10 Löschungen, solange Jotlark läuft. <byte value="xd"/>
Gelöschte Aufgaben werden außerdem in planifs.txt.deleted neben der Liste <byte value="xd"/>
aufbewahrt.<byte value="xd"/>
Eine neue Aufgabe, deren Notiz Sie ohne Text und ohne Erinnerung schließen, <byte value="xd"/>
wird nicht behalten.<byte value="xd"/>
<byte value="xd"/>
Ausgelöste Erinnerungen:<byte value="xd"/>
------------------------<byte value="xd"/>
Die Liste zeigt eine ausgelöste Erinnerung grau. Eine Notiz, deren <byte value="xd"/>
Erinnerung fällig ist, bleibt rot, auch geschlossen und wieder angezeigt, <byte value="xd"/>
bis Sie die Erinnerung schlummern lassen, ändern oder „Keine Erinnerung“ <byte value="xd"/>
wählen.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Notes in sight :<byte value="xd"/>
----------------<byte value="xd"/>
Drag a note&apos;s bottom right corner to make it larger. A note you <byte value="xd"/>
moved or resized comes back there after &quot;Hide all&quot; and at the <byte value="xd"/>
next start, and the notes open when Jotlark ends open again. <byte value="xd"/>
&quot;Options&quot; &gt; &quot;Notes on top&quot; keeps notes above other windows, <byte value="xd"/>
&quot;Notes on every workspace&quot; shows them on each one (not under <byte value="xd"/>
Wayland alone). A note whose alarm rings comes above the others.<byte value="xd"/>
</source>
        <translation>Notizen im Blick :<byte value="xd"/>
-------------------<byte value="xd"/>
Ziehen Sie die untere rechte Ecke einer Notiz, um sie zu vergrößern. <byte value="xd"/>
Eine verschobene oder vergrößerte Notiz kehrt nach &quot;Alle ausblenden&quot; <byte value="xd"/>
und beim nächsten Start dorthin zurück, und die beim Beenden offenen <byte value="xd"/>
Notizen öffnen sich wieder. &quot;Optionen&quot; &gt; &quot;Notizen im <byte value="xd"/>
Vordergrund&quot; hält Notizen über anderen Fenstern, &quot;Notizen auf allen <byte value="xd"/>
Arbeitsflächen&quot; zeigt sie auf jeder (nicht unter Wayland allein). <byte value="xd"/>
Eine Notiz, deren Alarm klingelt, kommt über die anderen.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Checklists :<byte value="xd"/>
------------<byte value="xd"/>
A line of a note that begins with &quot;[ ] &quot; is a checklist item, <byte value="xd"/>
with &quot;[x] &quot; a done one, shown struck through. Click its brackets, <byte value="xd"/>
or press Ctrl+Return on its line, to tick or untick it; <byte value="xd"/>
Ctrl+Shift+L turns a line into an item or back. The list shows <byte value="xd"/>
how many items are done after the task&apos;s first line (&quot;3/5&quot;).<byte value="xd"/>
</source>
        <translation>Checklisten:<byte value="xd"/>
------------<byte value="xd"/>
Eine Zeile einer Notiz, die mit „[ ] “ beginnt, ist ein Listenpunkt, <byte value="xd"/>
mit „[x] “ ein erledigter, durchgestrichen. Klicken Sie auf seine <byte value="xd"/>
Klammern oder drücken Sie Strg+Eingabe in seiner Zeile, um ihn ab- <byte value="xd"/>
oder anzuhaken; Strg+Umschalt+L macht eine Zeile zum Listenpunkt <byte value="xd"/>
oder zurück. Die Liste zeigt nach der ersten Zeile der Aufgabe, <byte value="xd"/>
wie viele Punkte erledigt sind („3/5“).<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Finding a task :<byte value="xd"/>
----------------<byte value="xd"/>
&quot;List&quot; &gt; &quot;Find...&quot; (Ctrl+F) shows a line over the list: only the <byte value="xd"/>
tasks whose text or alarm holds what you type are shown, whatever <byte value="xd"/>
its case and accents. Escape shows them all again. Show all, Hide <byte value="xd"/>
all, Delete all and Print still take every task.<byte value="xd"/>
</source>
        <translation>Eine Aufgabe finden:<byte value="xd"/>
--------------------<byte value="xd"/>
„Liste“ &gt; „Suchen...“ (Strg+F) zeigt eine Zeile über der Liste: nur <byte value="xd"/>
die Aufgaben, deren Text oder Alarm das Getippte enthält, bleiben, <byte value="xd"/>
gleich in welcher Schreibung und mit welchen Akzenten. Escape zeigt <byte value="xd"/>
wieder alle. Alle anzeigen, Alle ausblenden, Alle löschen und <byte value="xd"/>
Drucken nehmen weiterhin jede Aufgabe.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Sync with your phone :<byte value="xd"/>
----------------------<byte value="xd"/>
&quot;Options&quot; &gt; &quot;Sync with a CalDAV server...&quot; keeps the list and a <byte value="xd"/>
task list on a CalDAV server (Radicale, Nextcloud) the same; a <byte value="xd"/>
phone syncs it through DAVx5 with Tasks.org. Type the server&apos;s <byte value="xd"/>
address, your user name and password, click &quot;Connect&quot;, pick a <byte value="xd"/>
list or a new one. The password stays in the desktop&apos;s keyring. <byte value="xd"/>
&quot;Stop syncing&quot; forgets the server; it never removes a task.<byte value="xd"/>
</source>
        <translation>Abgleich mit Ihrem Telefon :<byte value="xd"/>
----------------------------<byte value="xd"/>
&quot;Optionen&quot; &gt; &quot;Mit einem CalDAV-Server abgleichen...&quot; hält die <byte value="xd"/>
Liste und eine Aufgabenliste auf einem CalDAV-Server (Radicale, <byte value="xd"/>
Nextcloud) gleich; ein Telefon gleicht sie mit DAVx5 und <byte value="xd"/>
Tasks.org ab. Geben Sie die Adresse des Servers, Ihren <byte value="xd"/>
Benutzernamen und Ihr Passwort ein, klicken Sie auf &quot;Verbinden&quot; <byte value="xd"/>
und wählen Sie eine Liste oder eine neue. Das Passwort bleibt im <byte value="xd"/>
Schlüsselbund des Desktops. &quot;Abgleich beenden&quot; vergisst den <byte value="xd"/>
Server; er entfernt nie eine Aufgabe.<byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>f_iir</name>
    <message>
        <source>Do you realy want to delete all tasks</source>
        <translation>Wollen Sie wirklich alle Aufgaben löschen?</translation>
    </message>
    <message>
        <source>Save warning</source>
        <translation>Speicherwarnung</translation>
    </message>
    <message>
        <source>Tasks</source>
        <translation>Aufgaben</translation>
    </message>
    <message>
        <source>Enter shows the task&apos;s note, Delete deletes the task</source>
        <translation>Eingabe zeigt die Notiz der Aufgabe, Entf löscht die Aufgabe</translation>
    </message>
    <message>
        <source>New task</source>
        <translation>Neue Aufgabe</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation>&amp;Liste</translation>
    </message>
    <message>
        <source>Show all</source>
        <translation>Alle anzeigen</translation>
    </message>
    <message>
        <source>Hide all</source>
        <translation>Alle ausblenden</translation>
    </message>
    <message>
        <source>Delete all</source>
        <translation>Alle löschen</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>&amp;Start in the task bar</source>
        <translation>Im &amp;Benachrichtigungsfeld starten</translation>
    </message>
    <message>
        <source>Start at &amp;log-in</source>
        <translation>Bei der &amp;Anmeldung starten</translation>
    </message>
    <message>
        <source>&amp;?</source>
        <translation>&amp;?</translation>
    </message>
    <message>
        <source>Help...</source>
        <translation>Hilfe …</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Ü&amp;ber …</translation>
    </message>
    <message>
        <source>Your tasks could not be saved to %1:
%2

Quit without saving, and the changes since the last save are lost.</source>
        <translation>Ihre Aufgaben konnten nicht in %1 gespeichert werden:
%2

Wenn Sie ohne Speichern beenden, gehen die Änderungen seit dem letzten Speichern verloren.</translation>
    </message>
    <message>
        <source>Quit without saving</source>
        <translation>Ohne Speichern beenden</translation>
    </message>
    <message>
        <source>Play a so&amp;und</source>
        <translation>&amp;Ton abspielen</translation>
    </message>
    <message>
        <source>Jotlark already holds 100 tasks; the task was not added.</source>
        <translation>Jotlark enthält bereits 100 Aufgaben; die Aufgabe wurde nicht hinzugefügt.</translation>
    </message>
    <message>
        <source>Calendar files (*.ics);;All files (*)</source>
        <translation>Kalenderdateien (*.ics);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Export to calendar file</source>
        <translation>In Kalenderdatei exportieren</translation>
    </message>
    <message>
        <source>The calendar file could not be written: %1</source>
        <translation>Die Kalenderdatei konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>Import calendar file</source>
        <translation>Kalenderdatei importieren</translation>
    </message>
    <message>
        <source>The calendar file could not be read: %1</source>
        <translation>Die Kalenderdatei konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>&amp;Export to calendar file…</source>
        <translation>In Kalenderdatei &amp;exportieren…</translation>
    </message>
    <message>
        <source>I&amp;mport calendar file…</source>
        <translation>Kalenderdatei i&amp;mportieren…</translation>
    </message>
    <message>
        <source>Task deleted</source>
        <translation>Aufgabe gelöscht</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Deleted tasks could not be kept in %1: %2</source>
        <translation>Gelöschte Aufgaben konnten nicht in %1 aufbewahrt werden: %2</translation>
    </message>
    <message>
        <source>One task could not be brought back: the list already holds 100 tasks.</source>
        <translation>Eine Aufgabe konnte nicht zurückgeholt werden: Die Liste enthält bereits 100 Aufgaben.</translation>
    </message>
    <message>
        <source>%1 tasks could not be brought back: the list already holds 100 tasks.</source>
        <translation>%1 Aufgaben konnten nicht zurückgeholt werden: Die Liste enthält bereits 100 Aufgaben.</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Undo delete</source>
        <translation>&amp;Löschen rückgängig machen</translation>
    </message>
    <message>
        <source>Notes on &amp;top</source>
        <translation>Notizen im &amp;Vordergrund</translation>
    </message>
    <message>
        <source>Notes on every &amp;workspace</source>
        <translation>Notizen auf allen Arbeits&amp;flächen</translation>
    </message>
    <message>
        <source>Under Wayland a program cannot keep its windows above others</source>
        <translation>Unter Wayland kann ein Programm seine Fenster nicht über anderen halten</translation>
    </message>
    <message>
        <source>Under Wayland a program cannot show its windows on every workspace</source>
        <translation>Unter Wayland kann ein Programm seine Fenster nicht auf allen Arbeitsflächen zeigen</translation>
    </message>
    <message>
        <source>Find a task</source>
        <translation>Aufgabe finden</translation>
    </message>
    <message>
        <source>Words of the task or its alarm</source>
        <translation>Wörter der Aufgabe oder ihres Alarms</translation>
    </message>
    <message>
        <source>No task hidden</source>
        <translation>Keine Aufgabe ausgeblendet</translation>
    </message>
    <message>
        <source>One task hidden</source>
        <translation>Eine Aufgabe ausgeblendet</translation>
    </message>
    <message>
        <source>%1 tasks hidden</source>
        <translation>%1 Aufgaben ausgeblendet</translation>
    </message>
    <message>
        <source>&amp;Find…</source>
        <translation>&amp;Suchen…</translation>
    </message>
    <message>
        <source>Sync &amp;now</source>
        <translation>Jetzt &amp;synchronisieren</translation>
    </message>
    <message>
        <source>Sync with a &amp;CalDAV server…</source>
        <translation>Mit einem &amp;CalDAV-Server abgleichen…</translation>
    </message>
</context>
<context>
    <name>f_test</name>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Erinnerung</translation>
    </message>
    <message>
        <source>No alarm</source>
        <translation>Keine Erinnerung</translation>
    </message>
    <message>
        <source>Task text</source>
        <translation>Aufgabentext</translation>
    </message>
    <message>
        <source>The alarm is due</source>
        <translation>Die Erinnerung ist fällig</translation>
    </message>
    <message>
        <source>Resize the note</source>
        <translation>Größe der Notiz ändern</translation>
    </message>
</context>
<context>
    <name>jot::AlarmPanel</name>
    <message>
        <source>Set the alarm</source>
        <translation>Erinnerung einstellen</translation>
    </message>
    <message>
        <source>The</source>
        <translation>Am</translation>
    </message>
    <message>
        <source>at</source>
        <translation>um</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>Stunde</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>am or pm</source>
        <translation>vormittags oder nachmittags (am oder pm)</translation>
    </message>
    <message>
        <source>Alarm day</source>
        <translation>Tag der Erinnerung</translation>
    </message>
    <message>
        <source>Alarm hour</source>
        <translation>Stunde der Erinnerung</translation>
    </message>
    <message>
        <source>Alarm minutes</source>
        <translation>Minuten der Erinnerung</translation>
    </message>
    <message>
        <source>Alarm am or pm</source>
        <translation>Erinnerung vormittags oder nachmittags</translation>
    </message>
    <message>
        <source>Other date</source>
        <translation>Anderes Datum</translation>
    </message>
    <message>
        <source>Other date…</source>
        <translation>Anderes Datum…</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>Nie</translation>
    </message>
    <message>
        <source>Every day</source>
        <translation>Jeden Tag</translation>
    </message>
    <message>
        <source>Every weekday</source>
        <translation>Jeden Werktag</translation>
    </message>
    <message>
        <source>Every week</source>
        <translation>Jede Woche</translation>
    </message>
    <message>
        <source>Every month</source>
        <translation>Jeden Monat</translation>
    </message>
    <message>
        <source>Every year</source>
        <translation>Jedes Jahr</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>How the alarm repeats</source>
        <translation>Wie sich die Erinnerung wiederholt</translation>
    </message>
    <message>
        <source>As set elsewhere</source>
        <translation>Wie anderswo festgelegt</translation>
    </message>
</context>
<context>
    <name>jot::Calendar</name>
    <message>
        <source>This file is not an iCalendar file.</source>
        <translation>Diese Datei ist keine iCalendar-Datei.</translation>
    </message>
    <message>
        <source>This calendar file is cut short: nothing was imported.</source>
        <translation>Diese Kalenderdatei ist abgeschnitten: Es wurde nichts importiert.</translation>
    </message>
    <message>
        <source>This calendar file holds no task.</source>
        <translation>Diese Kalenderdatei enthält keine Aufgabe.</translation>
    </message>
    <message>
        <source>Imported: %1; already here: %2; did not fit: %3; repeats made one-time: %4.</source>
        <translation>Importiert: %1; schon vorhanden: %2; kein Platz: %3; Wiederholungen als einmalige Erinnerung: %4.</translation>
    </message>
</context>
<context>
    <name>jot::DeletedTasks</name>
    <message>
        <source>not a file</source>
        <translation>keine Datei</translation>
    </message>
</context>
<context>
    <name>jot::DesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>Snooze</source>
        <translation>Schlummern</translation>
    </message>
    <message>
        <source>Snooze 1 hour</source>
        <translation>1 Stunde schlummern</translation>
    </message>
</context>
<context>
    <name>jot::GridColumns</name>
    <message>
        <source>rang</source>
        <translation>ausgelöst</translation>
    </message>
    <message>
        <source>%1 of %2 done</source>
        <translation>%1 von %2 erledigt</translation>
    </message>
</context>
<context>
    <name>jot::Notices</name>
    <message>
        <source>&amp;SysTRay</source>
        <translation>&amp;Benachrichtigungsfeld</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source> &amp;Exit</source>
        <translation> &amp;Beenden</translation>
    </message>
</context>
<context>
    <name>jot::Repeat</name>
    <message>
        <source>every day</source>
        <translation>jeden Tag</translation>
    </message>
    <message>
        <source>every weekday</source>
        <translation>jeden Werktag</translation>
    </message>
    <message>
        <source>every week</source>
        <translation>jede Woche</translation>
    </message>
    <message>
        <source>every month</source>
        <translation>jeden Monat</translation>
    </message>
    <message>
        <source>every year</source>
        <translation>jedes Jahr</translation>
    </message>
</context>
<context>
    <name>jot::SingleInstance</name>
    <message>
        <source>Jotlark: cannot listen on %1 (%2); a second start will not bring this one to the front.</source>
        <translation>Jotlark: Auf %1 kann nicht gelauscht werden (%2); ein zweiter Start wird diesen nicht in den Vordergrund holen.</translation>
    </message>
    <message>
        <source>Jotlark: cannot make the lock file %1 private.</source>
        <translation>Jotlark: Die Sperrdatei %1 kann nicht privat gemacht werden.</translation>
    </message>
    <message>
        <source>Jotlark: cannot create the lock file %1; a second start will find this one only through its socket.</source>
        <translation>Jotlark: Die Sperrdatei %1 kann nicht angelegt werden; ein zweiter Start findet dieses Jotlark nur über seinen Socket.</translation>
    </message>
    <message>
        <source>Jotlark: another user holds the socket %1; only the lock file keeps a second Jotlark from starting.</source>
        <translation>Jotlark: Ein anderer Benutzer hält den Socket %1; nur die Sperrdatei verhindert, dass ein zweites Jotlark startet.</translation>
    </message>
    <message>
        <source>Jotlark: no private folder for the socket %1; only a second start that reaches the abstract socket will find this one.</source>
        <translation>Jotlark: Kein privater Ordner für den Socket %1; nur ein zweiter Start, der den abstrakten Socket erreicht, findet dieses.</translation>
    </message>
</context>
<context>
    <name>jot::SyncController</name>
    <message>
        <source>Not synced: %1</source>
        <translation>Nicht synchronisiert: %1</translation>
    </message>
    <message>
        <source>The CalDAV server refused the password of %1; syncing waits until %2 changes.</source>
        <translation>Der CalDAV-Server hat das Passwort von %1 abgelehnt; die Synchronisierung wartet, bis sich %2 ändert.</translation>
    </message>
    <message>
        <source>the server refused the password</source>
        <translation>der Server hat das Passwort abgelehnt</translation>
    </message>
    <message>
        <source>Not synced since %1: %2</source>
        <translation>Nicht synchronisiert seit %1: %2</translation>
    </message>
    <message>
        <source>One task of the server is not shown: the list holds 100 tasks at most.</source>
        <translation>Eine Aufgabe des Servers wird nicht angezeigt: die Liste fasst höchstens 100 Aufgaben.</translation>
    </message>
    <message>
        <source>%1 tasks of the server are not shown: the list holds 100 tasks at most.</source>
        <translation>%1 Aufgaben des Servers werden nicht angezeigt: die Liste fasst höchstens 100 Aufgaben.</translation>
    </message>
    <message>
        <source>(one change waiting)</source>
        <translation>(eine Änderung wartet)</translation>
    </message>
    <message>
        <source>(%1 changes waiting)</source>
        <translation>(%1 Änderungen warten)</translation>
    </message>
    <message>
        <source>Syncing with the CalDAV server waits for the password of %1: type it again in Options, Sync with a CalDAV server.</source>
        <translation>Der Abgleich mit dem CalDAV-Server wartet auf das Passwort von %1: Geben Sie es unter Optionen, Mit einem CalDAV-Server abgleichen, erneut ein.</translation>
    </message>
    <message>
        <source>the keyring keeps no password for %1</source>
        <translation>der Schlüsselbund enthält kein Passwort für %1</translation>
    </message>
    <message>
        <source>no password: %1</source>
        <translation>kein Passwort: %1</translation>
    </message>
</context>
<context>
    <name>jot::TaskFile</name>
    <message>
        <source>One line of %1</source>
        <translation>Eine Zeile von %1</translation>
    </message>
    <message>
        <source>%1 lines of %2</source>
        <translation>%1 Zeilen von %2</translation>
    </message>
    <message>
        <source>Your tasks in %1 could not be read (%2). The list starts empty, and the file will not be replaced until it can be copied aside.</source>
        <translation>Ihre Aufgaben in %1 konnten nicht gelesen werden (%2). Die Liste beginnt leer, und die Datei wird erst ersetzt, wenn sie beiseitekopiert werden kann.</translation>
    </message>
    <message>
        <source>not a file</source>
        <translation>keine Datei</translation>
    </message>
    <message>
        <source>%1 could not be read.</source>
        <translation>%1 konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>%1 mixes UTF-8 and Windows-1252 lines; each line was read in its own encoding.</source>
        <translation>%1 mischt UTF-8- und Windows-1252-Zeilen; jede Zeile wurde in ihrer eigenen Kodierung gelesen.</translation>
    </message>
    <message>
        <source>Every task that could be read is in the list, and the file as it was is kept in %1.</source>
        <translation>Jede lesbare Aufgabe steht in der Liste, und die Datei, wie sie war, ist in %1 aufbewahrt.</translation>
    </message>
    <message>
        <source>The file could not be copied aside (%1). It will not be replaced until a copy can be made.</source>
        <translation>Die Datei konnte nicht beiseitekopiert werden (%1). Sie wird erst ersetzt, wenn eine Kopie angelegt werden kann.</translation>
    </message>
    <message>
        <source>%1 is not a file</source>
        <translation>%1 ist keine Datei</translation>
    </message>
    <message>
        <source>%1 was changed by another program; its tasks were merged into the list.</source>
        <translation>%1 wurde von einem anderen Programm geändert; seine Aufgaben wurden in die Liste übernommen.</translation>
    </message>
    <message>
        <source>%1 was changed by another program and could not be read completely; its new tasks were added to the list, and none was removed.</source>
        <translation>%1 wurde von einem anderen Programm geändert und konnte nicht vollständig gelesen werden; seine neuen Aufgaben wurden der Liste hinzugefügt, keine wurde entfernt.</translation>
    </message>
    <message>
        <source>A sync tool set this computer&apos;s version of your tasks aside; its tasks were merged into the list, and it is kept in %1.</source>
        <translation>Ein Synchronisationsprogramm hat die Version Ihrer Aufgaben auf diesem Rechner beiseitegelegt; ihre Aufgaben wurden in die Liste übernommen, und sie ist in %1 aufbewahrt.</translation>
    </message>
    <message>
        <source>The other version is kept in %1.</source>
        <translation>Die andere Version ist in %1 aufbewahrt.</translation>
    </message>
    <message>
        <source>%1 was replaced by another program while Jotlark saved; its tasks were merged into the list, and that version is kept in %2.</source>
        <translation>%1 wurde von einem anderen Programm ersetzt, während Jotlark speicherte; seine Aufgaben wurden in die Liste übernommen, und diese Version ist in %2 aufbewahrt.</translation>
    </message>
    <message>
        <source>the file could not be read completely at start and could not be copied aside (%1)</source>
        <translation>die Datei konnte beim Start nicht vollständig gelesen und nicht beiseitekopiert werden (%1)</translation>
    </message>
    <message>
        <source>%1 could not be read completely; the file as it was is kept in %2.</source>
        <translation>%1 konnte nicht vollständig gelesen werden; die Datei, wie sie war, ist in %2 aufbewahrt.</translation>
    </message>
    <message>
        <source>another program keeps replacing the file</source>
        <translation>ein anderes Programm ersetzt die Datei fortwährend</translation>
    </message>
    <message>
        <source>cannot create a file in %1: %2</source>
        <translation>in %1 kann keine Datei angelegt werden: %2</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>unbekannter Fehler</translation>
    </message>
    <message>
        <source>Your tasks could not be saved to %1: %2. The list is kept, and saving will be retried.</source>
        <translation>Ihre Aufgaben konnten nicht in %1 gespeichert werden: %2. Die Liste bleibt erhalten, und das Speichern wird erneut versucht.</translation>
    </message>
    <message>
        <source>writing failed: %1</source>
        <translation>Schreiben fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>syncing to disk failed: %1</source>
        <translation>Schreiben auf die Festplatte fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>replacing the file failed: %1</source>
        <translation>Ersetzen der Datei fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Another program has been writing %1 for five minutes; Jotlark saves your tasks once it is done, and keeps its file as it is after ten minutes.</source>
        <translation>Ein anderes Programm schreibt seit fünf Minuten in %1; Jotlark speichert Ihre Aufgaben, sobald es fertig ist, und bewahrt seine Datei nach zehn Minuten so auf, wie sie ist.</translation>
    </message>
</context>
<context>
    <name>jot::TaskList</name>
    <message>
        <source>Task</source>
        <translation>Aufgabe</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Erinnerung</translation>
    </message>
</context>
<context>
    <name>jot::m_apropos</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
</context>
<context>
    <name>jot::newNoteCaption</name>
    <message>
        <source>The</source>
        <translation>Am</translation>
    </message>
    <message>
        <source>at</source>
        <translation>um</translation>
    </message>
</context>
<context>
    <name>jot::printReport</name>
    <message>
        <source>Jotlark tasks</source>
        <translation>Jotlark-Aufgaben</translation>
    </message>
</context>
<context>
    <name>jot::report</name>
    <message>
        <source>Tasks the %1</source>
        <translation>Aufgaben vom %1</translation>
    </message>
    <message>
        <source>Alarm on the %1</source>
        <translation>Erinnerung am %1</translation>
    </message>
</context>
<context>
    <name>jot::sync</name>
    <message>
        <source>%1 cannot be read.</source>
        <translation>%1 kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>%1 names no task list.</source>
        <translation>%1 nennt keine Aufgabenliste.</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>%1 cannot be written.</source>
        <translation>%1 kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>%1 cannot be made private.</source>
        <translation>%1 kann nicht privat gemacht werden.</translation>
    </message>
    <message>
        <source>%1 is not a server address.</source>
        <translation>%1 ist keine Serveradresse.</translation>
    </message>
    <message>
        <source>%1 is not an https address: the password would travel readable.</source>
        <translation>%1 ist keine https-Adresse: das Passwort würde lesbar übertragen.</translation>
    </message>
    <message>
        <source>No password command is set.</source>
        <translation>Es ist kein Passwortbefehl festgelegt.</translation>
    </message>
    <message>
        <source>The password command gave no answer in %1 s.</source>
        <translation>Der Passwortbefehl hat in %1 s nicht geantwortet.</translation>
    </message>
    <message>
        <source>The password command cannot be run: %1</source>
        <translation>Der Passwortbefehl kann nicht ausgeführt werden: %1</translation>
    </message>
    <message>
        <source>The password command failed: %1</source>
        <translation>Der Passwortbefehl ist fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>The password command printed no password.</source>
        <translation>Der Passwortbefehl hat kein Passwort ausgegeben.</translation>
    </message>
    <message>
        <source>The server answered %1.</source>
        <translation>Der Server hat %1 geantwortet.</translation>
    </message>
    <message>
        <source>The sync state cannot be written to %1: %2</source>
        <translation>Der Synchronisierungsstand kann nicht in %1 geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>jot::sync::Engine</name>
    <message>
        <source>The server refused the user name or password.</source>
        <translation>Der Server hat den Benutzernamen oder das Passwort abgelehnt.</translation>
    </message>
</context>
<context>
    <name>jot::sync::Engine::Round</name>
    <message>
        <source>The server cannot list the tasks: %1</source>
        <translation>Der Server kann die Aufgaben nicht auflisten: %1</translation>
    </message>
    <message>
        <source>The server cannot send the tasks: %1</source>
        <translation>Der Server kann die Aufgaben nicht senden: %1</translation>
    </message>
</context>
<context>
    <name>jot::sync::SyncState</name>
    <message>
        <source>The sync state folder %1 cannot be made.</source>
        <translation>Der Ordner %1 für den Synchronisierungsstand kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The sync state cannot be written to %1.</source>
        <translation>Der Synchronisierungsstand kann nicht in %1 geschrieben werden.</translation>
    </message>
</context>
</TS>
