<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Quorva Bridge</source>
        <translation>Über Quorva Bridge</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Privacy note</source>
        <translation>Datenschutzhinweis</translation>
    </message>
    <message>
        <source>Shows what stays on this computer and what Quorva receives.</source>
        <translation>Zeigt, was auf diesem Computer bleibt und was Quorva erhält.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>BridgeCall</name>
    <message>
        <source>Phase:  %1</source>
        <translation>Phase:  %1</translation>
    </message>
    <message>
        <source>Backup folder: %1</source>
        <translation>Backup-Ordner: %1</translation>
    </message>
    <message>
        <source>Last scan: %1; messages inspected: %L2, new candidates sent: %L3, alerts created: %L4</source>
        <translation>Letzter Scan: %1; geprüfte Nachrichten: %L2, gesendete neue Kandidaten: %L3, erzeugte Warnungen: %L4</translation>
    </message>
    <message>
        <source>%1  %2 (%3)
    last backup %4, %5; child: %6</source>
        <translation>%1  %2 (%3)
    letztes Backup %4, %5; Kind: %6</translation>
    </message>
    <message>
        <source>date unknown</source>
        <translation>Datum unbekannt</translation>
    </message>
    <message>
        <source>encrypted</source>
        <translation>verschlüsselt</translation>
    </message>
    <message>
        <source>being written</source>
        <translation>wird geschrieben</translation>
    </message>
    <message>
        <source>finished</source>
        <translation>fertig</translation>
    </message>
    <message>
        <source>not assigned</source>
        <translation>nicht zugeordnet</translation>
    </message>
    <message>
        <source>No child profiles.</source>
        <translation>Keine Kinderprofile.</translation>
    </message>
    <message>
        <source>%1  %2  (%3)</source>
        <translation>%1  %2  (%3)</translation>
    </message>
    <message>
        <source>no iPhone assigned</source>
        <translation>kein iPhone zugeordnet</translation>
    </message>
    <message>
        <source>Sent %L1 of %L2 batches to Quorva</source>
        <translation>%L1 von %L2 Paketen an Quorva gesendet</translation>
    </message>
    <message>
        <source>%1 is assigned to no one and is not read.</source>
        <translation>%1 ist niemandem zugeordnet und wird nicht gelesen.</translation>
    </message>
    <message>
        <source>%1 is assigned to %2.</source>
        <translation>%1 ist %2 zugeordnet.</translation>
    </message>
    <message>
        <source>%1 is no longer assigned to anyone and is not read.</source>
        <translation>%1 ist niemandem mehr zugeordnet und wird nicht gelesen.</translation>
    </message>
    <message>
        <source>No iPhone backups found: choose the backup folder first (%1 choose-backup FOLDER).</source>
        <translation>Keine iPhone-Sicherungen gefunden: Wählen Sie zuerst den Sicherungsordner (%1 choose-backup FOLDER).</translation>
    </message>
    <message>
        <source>Not paired: pair this computer first (%1 pair CODE).</source>
        <translation>Nicht gekoppelt: Koppeln Sie zuerst diesen Computer (%1 pair CODE).</translation>
    </message>
    <message>
        <source>Needs attention: %1</source>
        <translation>Braucht Aufmerksamkeit: %1</translation>
    </message>
</context>
<context>
    <name>ChildRow</name>
    <message>
        <source>Nothing is read for %1</source>
        <translation>Für %1 wird nichts gelesen</translation>
    </message>
    <message>
        <source>backup being written</source>
        <translation>Backup wird geschrieben</translation>
    </message>
    <message>
        <source>encrypted, cannot be read</source>
        <translation>verschlüsselt, nicht lesbar</translation>
    </message>
    <message>
        <source>last backup %1</source>
        <translation>letztes Backup %1</translation>
    </message>
    <message>
        <source>now assigned to %1</source>
        <translation>derzeit %1 zugeordnet</translation>
    </message>
    <message>
        <source>iPhone of %1</source>
        <translation>iPhone von %1</translation>
    </message>
    <message>
        <source>Assign</source>
        <translation>Zuordnen</translation>
    </message>
    <message>
        <source>Is %1 the iPhone of %2? Nothing is read until you assign it.</source>
        <translation>Ist %1 das iPhone von %2? Gelesen wird erst, wenn Sie es zuordnen.</translation>
    </message>
    <message>
        <source>Last backup: date unknown</source>
        <translation>Letztes Backup: Datum unbekannt</translation>
    </message>
    <message>
        <source>Last backup: %1</source>
        <translation>Letztes Backup: %1</translation>
    </message>
    <message>
        <source>The assigned iPhone is not in the backup folder.</source>
        <translation>Das zugeordnete iPhone ist nicht im Backup-Ordner.</translation>
    </message>
    <message>
        <source>A backup is being written; it is read once finished.</source>
        <translation>Ein Backup wird gerade geschrieben; es wird gelesen, sobald es fertig ist.</translation>
    </message>
    <message>
        <source>Encrypted: Bridge cannot read this backup.</source>
        <translation>Verschlüsselt: Bridge kann dieses Backup nicht lesen.</translation>
    </message>
    <message>
        <source>Connected to this computer.</source>
        <translation>Mit diesem Computer verbunden.</translation>
    </message>
    <message>
        <source>Trust this iPhone</source>
        <translation>Diesem iPhone vertrauen</translation>
    </message>
    <message>
        <source>Asks %1 to trust this computer.</source>
        <translation>Bittet %1, diesem Computer zu vertrauen.</translation>
    </message>
    <message>
        <source>Back up now</source>
        <translation>Jetzt sichern</translation>
    </message>
    <message>
        <source>Backs up %1 into the backup folder, then scans it.</source>
        <translation>Sichert %1 in den Backup-Ordner und prüft es dann.</translation>
    </message>
</context>
<context>
    <name>ChoicePicker</name>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Print the final state as one JSON object. The token is never printed.</source>
        <translation>Den Endzustand als ein JSON-Objekt ausgeben. Das Token wird nie ausgegeben.</translation>
    </message>
    <message>
        <source>Show what a scan of FOLDER would send.</source>
        <translation>Zeigen, was ein Scan von FOLDER senden würde.</translation>
    </message>
    <message>
        <source>Find the newest iPhone backup in FOLDER and show the recent incoming messages a scan would send for safety review, with the reasons, which stay on this computer. Nothing is sent or stored.</source>
        <translation>Das neueste iPhone-Backup in FOLDER suchen und die kürzlich eingegangenen Nachrichten zeigen, die ein Scan zur Sicherheitsprüfung senden würde, samt den Gründen, die auf diesem Computer bleiben. Es wird nichts gesendet oder gespeichert.</translation>
    </message>
    <message>
        <source>A backup folder, or a folder of backups.</source>
        <translation>Ein Backup-Ordner oder ein Ordner mit Backups.</translation>
    </message>
    <message>
        <source>Print the backup and the candidates as one JSON object.</source>
        <translation>Das Backup und die Kandidaten als ein JSON-Objekt ausgeben.</translation>
    </message>
    <message>
        <source>Print the safety rules TEXT matches.</source>
        <translation>Die Sicherheitsregeln ausgeben, auf die TEXT zutrifft.</translation>
    </message>
    <message>
        <source>Print the safety rules TEXT matches, one a line, or that no rule matched.</source>
        <translation>Die Sicherheitsregeln ausgeben, auf die TEXT zutrifft, eine pro Zeile, oder dass keine Regel zutrifft.</translation>
    </message>
    <message>
        <source>The text of a message.</source>
        <translation>Der Text einer Nachricht.</translation>
    </message>
    <message>
        <source>Pair this computer with Quorva Family.</source>
        <translation>Diesen Computer mit Quorva Family koppeln.</translation>
    </message>
    <message>
        <source>The pairing code shown in Quorva Family.</source>
        <translation>Der in Quorva Family angezeigte Kopplungscode.</translation>
    </message>
    <message>
        <source>List the family&apos;s child profiles.</source>
        <translation>Die Kinderprofile der Familie auflisten.</translation>
    </message>
    <message>
        <source>The child&apos;s id, as the children command lists it.</source>
        <translation>Die ID des Kindes, wie der Befehl children sie auflistet.</translation>
    </message>
    <message>
        <source>Keep scanning every 30 minutes.</source>
        <translation>Alle 30 Minuten erneut scannen.</translation>
    </message>
    <message>
        <source>Start up, then keep scanning every 30 minutes until SIGINT or SIGTERM, printing a line for each change.</source>
        <translation>Hochfahren, dann bis SIGINT oder SIGTERM alle 30 Minuten scannen und für jede Änderung eine Zeile ausgeben.</translation>
    </message>
    <message>
        <source>Print the state as one JSON object a line, for each change. The token is never printed.</source>
        <translation>Den Zustand bei jeder Änderung als ein JSON-Objekt pro Zeile ausgeben. Das Token wird nie ausgegeben.</translation>
    </message>
    <message>
        <source>Show what is stored on this computer.</source>
        <translation>Zeigen, was auf diesem Computer gespeichert ist.</translation>
    </message>
    <message>
        <source>Forget the pairing and every choice.</source>
        <translation>Die Kopplung und jede Auswahl vergessen.</translation>
    </message>
    <message>
        <source>Forget the pairing and every choice on this computer. The service is not told.</source>
        <translation>Die Kopplung und jede Auswahl auf diesem Computer vergessen. Der Dienst wird nicht benachrichtigt.</translation>
    </message>
    <message>
        <source>Start Quorva Bridge when you log in, or not.</source>
        <translation>Quorva Bridge bei der Anmeldung starten oder nicht.</translation>
    </message>
    <message>
        <source>Start Quorva Bridge when you log in, or stop doing so.</source>
        <translation>Quorva Bridge bei der Anmeldung starten oder damit aufhören.</translation>
    </message>
    <message>
        <source>on or off.</source>
        <translation>on oder off.</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Diese Hilfe zeigen und beenden.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Die Version zeigen und beenden.</translation>
    </message>
    <message>
        <source>Scan as if at INSTANT, an ISO-8601 date-time such as 2026-03-01T08:15:30Z (default: now).</source>
        <translation>Scannen, als wäre es INSTANT, ein ISO-8601-Zeitpunkt wie 2026-03-01T08:15:30Z (Standard: jetzt).</translation>
    </message>
    <message>
        <source>Usage: %1</source>
        <translation>Aufruf: %1</translation>
    </message>
    <message>
        <source>Commands:</source>
        <translation>Befehle:</translation>
    </message>
    <message>
        <source>%1 COMMAND [OPTIONS] [ARGUMENTS]</source>
        <translation>%1 BEFEHL [OPTIONEN] [ARGUMENTE]</translation>
    </message>
    <message>
        <source>Run &apos;%1 COMMAND --help&apos; for the options and arguments of a command.</source>
        <translation>&apos;%1 BEFEHL --help&apos; zeigt die Optionen und Argumente eines Befehls.</translation>
    </message>
    <message>
        <source>Exit status: 0 on success, 1 when the work failed (the reason is on standard error), 2 when the command line is wrong.</source>
        <translation>Exit-Status: 0 bei Erfolg, 1 wenn die Arbeit fehlschlug (der Grund steht auf der Standardfehlerausgabe), 2 wenn die Befehlszeile falsch ist.</translation>
    </message>
    <message>
        <source>Missing command.</source>
        <translation>Befehl fehlt.</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos;.</source>
        <translation>Siehe &apos;%1 --help&apos;.</translation>
    </message>
    <message>
        <source>Unknown command &apos;%1&apos;.</source>
        <translation>Unbekannter Befehl &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>Missing %1.</source>
        <translation>%1 fehlt.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Unerwartetes Argument &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>List the iPhones backed up in the backup folder.</source>
        <translation>Die im Sicherungsordner gesicherten iPhones auflisten.</translation>
    </message>
    <message>
        <source>Print the iPhones as one JSON array.</source>
        <translation>Die iPhones als ein JSON-Array ausgeben.</translation>
    </message>
    <message>
        <source>Say which child an iPhone belongs to.</source>
        <translation>Angeben, welchem Kind ein iPhone gehört.</translation>
    </message>
    <message>
        <source>The iPhone&apos;s id, as the devices command lists it.</source>
        <translation>Die ID des iPhones, wie sie der Befehl devices auflistet.</translation>
    </message>
    <message>
        <source>Assign the iPhone to no one.</source>
        <translation>Das iPhone niemandem zuordnen.</translation>
    </message>
    <message>
        <source>Scan every assigned iPhone&apos;s backup and send what matches.</source>
        <translation>Die Sicherung jedes zugeordneten iPhones scannen und senden, was zutrifft.</translation>
    </message>
    <message>
        <source>Start up as at launch, which runs one scan and upload cycle when everything is set up: the newest finished backup of every assigned iPhone, each under its child. On a terminal, the upload&apos;s progress is shown on standard error.</source>
        <translation>Wie beim Programmstart starten; ist alles eingerichtet, läuft ein Scan- und Sendedurchgang: die neueste fertige Sicherung jedes zugeordneten iPhones, jede für ihr Kind. In einem Terminal wird der Fortschritt des Sendens auf der Standardfehlerausgabe angezeigt.</translation>
    </message>
    <message>
        <source>Pair with CODE and finish setting up: load the children, restore the backup folder, scan when ready. Nothing of an earlier pairing runs first, and what it was sent is sent again under the new one.</source>
        <translation>Mit CODE koppeln und die Einrichtung abschließen: die Kinder laden, den Backup-Ordner wiederherstellen, prüfen, sobald alles bereit ist. Von einer früheren Kopplung läuft vorher nichts, und was an sie gesendet wurde, wird unter der neuen erneut gesendet.</translation>
    </message>
    <message>
        <source>Back up a connected iPhone, then scan it.</source>
        <translation>Ein angeschlossenes iPhone sichern und dann prüfen.</translation>
    </message>
    <message>
        <source>Back up the assigned iPhone DEVICE, connected to this computer by its cable, into the backup folder with idevicebackup2, then scan the new backup. Without DEVICE, the one assigned iPhone that is connected. On a terminal, the backup&apos;s progress is shown on standard error.</source>
        <translation>Das zugeordnete iPhone DEVICE, per Kabel an diesen Computer angeschlossen, mit idevicebackup2 in den Backup-Ordner sichern und dann das neue Backup prüfen. Ohne DEVICE das eine zugeordnete iPhone, das angeschlossen ist. Im Terminal wird der Fortschritt der Sicherung auf der Standardfehlerausgabe gezeigt.</translation>
    </message>
    <message>
        <source>Ask the service for the family&apos;s child profiles and list them, each with its id and the iPhone assigned to it. Nothing is scanned or sent.</source>
        <translation>Den Dienst nach den Kinderprofilen der Familie fragen und sie auflisten, jedes mit seiner ID und dem ihm zugeordneten iPhone. Es wird nichts gescannt oder gesendet.</translation>
    </message>
    <message>
        <source>Choose the family&apos;s backup folder.</source>
        <translation>Den Backup-Ordner der Familie wählen.</translation>
    </message>
    <message>
        <source>Choose the folder that holds the family&apos;s iPhone backups: the iPhones in it are listed and the folder remembered. Nothing is read until you assign each child&apos;s iPhone (devices, then assign).</source>
        <translation>Den Ordner mit den iPhone-Backups der Familie wählen: Die iPhones darin werden aufgelistet, und der Ordner wird gemerkt. Gelesen wird erst, wenn Sie jedem Kind sein iPhone zuordnen (devices, dann assign).</translation>
    </message>
    <message>
        <source>List the iPhones backed up in the chosen backup folder: each one&apos;s id, name and model, when its newest backup was made, whether it is finished, being written or encrypted, and the child it is assigned to. Nothing is read past the backups&apos; property lists, and nothing is sent.</source>
        <translation>Die im gewählten Backup-Ordner gesicherten iPhones auflisten: jeweils ID, Name und Modell, wann das neueste Backup erstellt wurde, ob es fertig ist, gerade geschrieben wird oder verschlüsselt ist, und welchem Kind es zugeordnet ist. Über die Eigenschaftslisten der Backups hinaus wird nichts gelesen, und nichts wird gesendet.</translation>
    </message>
    <message>
        <source>Assign the iPhone DEVICE, as the devices command lists it, to the child CHILD: its backups are scanned under that child from now on, and the child&apos;s earlier iPhone, if any, is no longer scanned. With --none, DEVICE is no longer scanned at all. Only assigned iPhones are ever read.</source>
        <translation>Das iPhone DEVICE, wie der Befehl devices es auflistet, dem Kind CHILD zuordnen: Seine Backups werden von nun an für dieses Kind gescannt, und ein früheres iPhone des Kindes wird nicht mehr gescannt. Mit --none wird DEVICE gar nicht mehr gescannt. Gelesen werden nur zugeordnete iPhones.</translation>
    </message>
    <message>
        <source>Show the family as this computer sees it: the pairing, the backup folder, one block per child (the iPhone, its last backup, how many messages the service accepted), the iPhones nobody is assigned, what needs your attention, launch at login. Only the children&apos;s names are asked of the service.</source>
        <translation>Die Familie so zeigen, wie dieser Computer sie sieht: die Kopplung, den Backup-Ordner, einen Block je Kind (das iPhone, sein letztes Backup, wie viele Nachrichten der Dienst angenommen hat), die iPhones, die niemandem zugeordnet sind, was Ihre Aufmerksamkeit braucht, den Start bei der Anmeldung. Vom Dienst werden nur die Namen der Kinder abgefragt.</translation>
    </message>
    <message>
        <source>Checks the family&apos;s local iPhone backups for safety signals for Quorva Family, without a window. Pair with a code from Quorva Family (pair), choose the folder that holds the backups (choose-backup), say whose iPhone each backup is (devices, children, assign), then scan (scan, or run to keep scanning). Only the assigned iPhones are read, each under its own child.</source>
        <translation>Prüft die lokalen iPhone-Backups der Familie ohne Fenster auf Sicherheitssignale für Quorva Family. Mit einem Code aus Quorva Family koppeln (pair), den Ordner mit den Backups wählen (choose-backup), angeben, wessen iPhone zu welchem Backup gehört (devices, children, assign), dann scannen (scan, oder run, um fortlaufend zu scannen). Gelesen werden nur die zugeordneten iPhones, jedes für sein eigenes Kind.</translation>
    </message>
</context>
<context>
    <name>ContentView</name>
    <message>
        <source>Scroll</source>
        <translation>Bildlauf</translation>
    </message>
</context>
<context>
    <name>DisconnectConfirmation</name>
    <message>
        <source>Bridge stops checking backups and forgets this pairing. To use it again, pair with a new code from Quorva Family.</source>
        <translation>Bridge prüft keine Backups mehr und vergisst diese Kopplung. Um Bridge wieder zu nutzen, koppeln Sie mit einem neuen Code aus Quorva Family.</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Trennen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>FailureAlert</name>
    <message>
        <source>Quorva Bridge needs attention</source>
        <translation>Quorva Bridge braucht Ihre Aufmerksamkeit</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>HeaderBar</name>
    <message>
        <source>More options</source>
        <translation>Weitere Optionen</translation>
    </message>
</context>
<context>
    <name>HumanText</name>
    <message>
        <source>Starting</source>
        <translation>Startet</translation>
    </message>
    <message>
        <source>Not paired</source>
        <translation>Nicht gekoppelt</translation>
    </message>
    <message>
        <source>Finish setup</source>
        <translation>Einrichtung abschließen</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Scanning</source>
        <translation>Scannt</translation>
    </message>
    <message>
        <source>Needs attention</source>
        <translation>Braucht Aufmerksamkeit</translation>
    </message>
</context>
<context>
    <name>InspectCommand</name>
    <message>
        <source>--at takes an ISO-8601 date-time such as 2026-03-01T08:15:30Z, not &apos;%1&apos;.</source>
        <translation>--at erwartet einen ISO-8601-Zeitpunkt wie 2026-03-01T08:15:30Z, nicht &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Backup: %1</source>
        <translation>Backup: %1</translation>
    </message>
    <message>
        <source>  folder:    %1</source>
        <translation>  Ordner:        %1</translation>
    </message>
    <message>
        <source>  device id: %1</source>
        <translation>  Geräte-ID:     %1</translation>
    </message>
    <message>
        <source>  backed up: %1</source>
        <translation>  Gesichert:     %1</translation>
    </message>
    <message>
        <source>date unavailable</source>
        <translation>Datum nicht verfügbar</translation>
    </message>
    <message>
        <source>  encrypted: %1</source>
        <translation>  Verschlüsselt: %1</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>ja</translation>
    </message>
    <message>
        <source>no</source>
        <translation>nein</translation>
    </message>
    <message>
        <source>Recent incoming messages inspected locally: %L1. Candidates that would be sent for safety review: %L2.</source>
        <translation>Kürzlich eingegangene Nachrichten, lokal geprüft: %L1. Kandidaten, die zur Sicherheitsprüfung gesendet würden: %L2.</translation>
    </message>
    <message>
        <source>(no sender)</source>
        <translation>(kein Absender)</translation>
    </message>
    <message>
        <source>- %1  from %2</source>
        <translation>- %1  von %2</translation>
    </message>
    <message>
        <source>  reasons: %1</source>
        <translation>  Gründe: %1</translation>
    </message>
    <message>
        <source>  text:    %1</source>
        <translation>  Text:   %1</translation>
    </message>
    <message>
        <source>  id:      %1</source>
        <translation>  ID:     %1</translation>
    </message>
    <message>
        <source>no rule matched</source>
        <translation>keine Regel trifft zu</translation>
    </message>
    <message>
        <source>Messages dated more than a day after this scan, not read: %L1. The iPhone&apos;s clock may have been wrong.</source>
        <translation>Nachrichten, die mehr als einen Tag nach diesem Scan datiert sind, nicht gelesen: %L1. Die Uhr des iPhones ging womöglich falsch.</translation>
    </message>
</context>
<context>
    <name>LaunchAtLogin</name>
    <message>
        <source>Launch Quorva Bridge when I log in</source>
        <translation>Quorva Bridge bei meiner Anmeldung starten</translation>
    </message>
</context>
<context>
    <name>LoginItem</name>
    <message>
        <source>Check a local iPhone backup for safety signals for Quorva Family</source>
        <translation>Ein lokales iPhone-Backup auf Sicherheitssignale für Quorva Family prüfen</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Scan now</source>
        <translation>Jetzt scannen</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Ctrl+R</source>
        <translation>Strg+R</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Strg+Q</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>About Quorva Bridge</source>
        <translation>Über Quorva Bridge</translation>
    </message>
</context>
<context>
    <name>PairingCard</name>
    <message>
        <source>In Quorva Family, open Family and choose Set up iPhone Bridge. Enter the code here. The code expires after 15 minutes.</source>
        <translation>Öffnen Sie in Quorva Family „Family“ und wählen Sie „Set up iPhone Bridge“. Geben Sie den Code hier ein. Der Code läuft nach 15 Minuten ab.</translation>
    </message>
    <message>
        <source>PAIRING CODE</source>
        <translation>KOPPLUNGSCODE</translation>
    </message>
    <message>
        <source>Pairing code</source>
        <translation>Kopplungscode</translation>
    </message>
</context>
<context>
    <name>PrivacyCard</name>
    <message>
        <source>Private by design</source>
        <translation>Privat von Grund auf</translation>
    </message>
</context>
<context>
    <name>SetupCard</name>
    <message>
        <source>Finish setup</source>
        <translation>Einrichtung abschließen</translation>
    </message>
    <message>
        <source>Your family&apos;s iPhones</source>
        <translation>Die iPhones Ihrer Familie</translation>
    </message>
    <message>
        <source>No folder chosen yet</source>
        <translation>Noch kein Ordner gewählt</translation>
    </message>
    <message>
        <source>Choose folder…</source>
        <translation>Ordner wählen…</translation>
    </message>
    <message>
        <source>Whose iPhone is each backup?</source>
        <translation>Wessen iPhone gehört zu welchem Backup?</translation>
    </message>
    <message>
        <source>Scan now</source>
        <translation>Jetzt scannen</translation>
    </message>
    <message>
        <source>No child profiles yet. In Quorva Family, open Family and add a profile for each child, then choose Look again.</source>
        <translation>Noch keine Kinderprofile. Öffnen Sie in Quorva Family „Family“ und legen Sie für jedes Kind ein Profil an. Wählen Sie dann „Erneut nachsehen“.</translation>
    </message>
    <message>
        <source>Look again</source>
        <translation>Erneut nachsehen</translation>
    </message>
    <message>
        <source>Scroll the children</source>
        <translation>Bildlauf durch die Kinder</translation>
    </message>
</context>
<context>
    <name>StateCommands</name>
    <message>
        <source>Not paired: pair this computer first (%1 pair CODE).</source>
        <translation>Nicht gekoppelt: Koppeln Sie zuerst diesen Computer (%1 pair CODE).</translation>
    </message>
    <message>
        <source>No child profiles.</source>
        <translation>Keine Kinderprofile.</translation>
    </message>
    <message>
        <source>There is no child with the id %1 in this family (%2 children lists them).</source>
        <translation>In dieser Familie gibt es kein Kind mit der ID %1 (%2 children listet die Kinder auf).</translation>
    </message>
    <message>
        <source>Expected on or off, not &apos;%1&apos;.</source>
        <translation>Erwartet wird on oder off, nicht &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>encrypted</source>
        <translation>verschlüsselt</translation>
    </message>
    <message>
        <source>being written</source>
        <translation>wird geschrieben</translation>
    </message>
    <message>
        <source>finished</source>
        <translation>fertig</translation>
    </message>
    <message>
        <source>not assigned</source>
        <translation>nicht zugeordnet</translation>
    </message>
    <message>
        <source>No iPhone backups found: choose the backup folder first (%1 choose-backup FOLDER).</source>
        <translation>Keine iPhone-Sicherungen gefunden: Wählen Sie zuerst den Sicherungsordner (%1 choose-backup FOLDER).</translation>
    </message>
    <message>
        <source>There is no iPhone with the id %1 in the backup folder (%2 devices lists them).</source>
        <translation>Im Sicherungsordner gibt es kein iPhone mit der ID %1 (%2 devices listet sie auf).</translation>
    </message>
    <message>
        <source>%1 is assigned to %2.</source>
        <translation>%1 ist %2 zugeordnet.</translation>
    </message>
    <message>
        <source>No assigned iPhone is connected to this computer.</source>
        <translation>Kein zugeordnetes iPhone ist an diesen Computer angeschlossen.</translation>
    </message>
    <message>
        <source>More than one assigned iPhone is connected: name one (%1 devices lists them).</source>
        <translation>Mehr als ein zugeordnetes iPhone ist angeschlossen: nenne eines (%1 devices listet sie auf).</translation>
    </message>
    <message>
        <source>no iPhone assigned</source>
        <translation>kein iPhone zugeordnet</translation>
    </message>
    <message>
        <source>%1  %2  (%3)</source>
        <translation>%1  %2  (%3)</translation>
    </message>
    <message>
        <source>date unknown</source>
        <translation>Datum unbekannt</translation>
    </message>
    <message>
        <source>%1  %2 (%3)
    last backup %4, %5; child: %6</source>
        <translation>%1  %2 (%3)
    letztes Backup %4, %5; Kind: %6</translation>
    </message>
    <message>
        <source>%1 is assigned to no one and is not read.</source>
        <translation>%1 ist niemandem zugeordnet und wird nicht gelesen.</translation>
    </message>
    <message>
        <source>%1 is no longer assigned to anyone and is not read.</source>
        <translation>%1 ist niemandem mehr zugeordnet und wird nicht gelesen.</translation>
    </message>
    <message>
        <source>No scan ran: %1 (%2 choose-backup FOLDER, devices, assign DEVICE CHILD).</source>
        <translation>Kein Scan gelaufen: %1 (%2 choose-backup FOLDER, devices, assign DEVICE CHILD).</translation>
    </message>
</context>
<context>
    <name>StatePrinter</name>
    <message>
        <source>Phase:  %1</source>
        <translation>Phase:  %1</translation>
    </message>
    <message>
        <source>Status: %1</source>
        <translation>Status: %1</translation>
    </message>
    <message>
        <source>Last scan: %1; messages inspected: %L2, new candidates sent: %L3, alerts created: %L4</source>
        <translation>Letzter Scan: %1; geprüfte Nachrichten: %L2, gesendete neue Kandidaten: %L3, erzeugte Warnungen: %L4</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Sent %L1 of %L2 batches to Quorva</source>
        <translation>%L1 von %L2 Paketen an Quorva gesendet</translation>
    </message>
    <message>
        <source>Backup folder: %1</source>
        <translation>Backup-Ordner: %1</translation>
    </message>
    <message>
        <source>Needs attention: %1</source>
        <translation>Braucht Aufmerksamkeit: %1</translation>
    </message>
</context>
<context>
    <name>StatusCard</name>
    <message>
        <source>Last checked %1. %2 recent incoming messages inspected locally. %3 new candidates sent for safety review.</source>
        <translation>Zuletzt geprüft: %1. Kürzlich eingegangene Nachrichten, lokal geprüft: %2. Neue Kandidaten zur Sicherheitsprüfung gesendet: %3.</translation>
    </message>
    <message>
        <source>Sent %1 of %2 batches to Quorva</source>
        <translation>%1 von %2 Paketen an Quorva gesendet</translation>
    </message>
    <message>
        <source>Last checked %1. No new backup since the last check, so nothing new was sent.</source>
        <translation>Zuletzt geprüft: %1. Seit der letzten Prüfung gibt es kein neues Backup, daher wurde nichts Neues gesendet.</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>Erneut versuchen</translation>
    </message>
    <message numerus="yes">
        <source>… and %n more.</source>
        <translation>
            <numerusform>… und %n weiterer.</numerusform>
            <numerusform>… und %n weitere.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StatusCommand</name>
    <message>
        <source>not found (%1)</source>
        <translation>nicht gefunden (%1)</translation>
    </message>
    <message>
        <source>none chosen</source>
        <translation>keiner gewählt</translation>
    </message>
    <message>
        <source>Paired:           %1</source>
        <translation>Gekoppelt:           %1</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>ja</translation>
    </message>
    <message>
        <source>no</source>
        <translation>nein</translation>
    </message>
    <message>
        <source>Backup folder:    %1</source>
        <translation>Backup-Ordner:       %1</translation>
    </message>
    <message>
        <source>Accepted by the service: %L1 message identifiers</source>
        <translation>Vom Dienst angenommen: %L1 Nachrichtenkennungen</translation>
    </message>
    <message>
        <source>Launch at login:  %1</source>
        <translation>Start bei Anmeldung: %1</translation>
    </message>
    <message>
        <source>on</source>
        <translation>an</translation>
    </message>
    <message>
        <source>off</source>
        <translation>aus</translation>
    </message>
    <message>
        <source>  iPhone:       %1 (%2)</source>
        <translation>  iPhone:          %1 (%2)</translation>
    </message>
    <message>
        <source>  Last backup:  %1</source>
        <translation>  Letztes Backup:  %1</translation>
    </message>
    <message>
        <source>date unknown</source>
        <translation>Datum unbekannt</translation>
    </message>
    <message>
        <source>  Accepted:     %L1 message identifiers</source>
        <translation>  Angenommen:      %L1 Nachrichtenkennungen</translation>
    </message>
    <message>
        <source>  iPhone:       none assigned</source>
        <translation>  iPhone:          keines zugeordnet</translation>
    </message>
    <message>
        <source>  Attention:    %1</source>
        <translation>  Aufmerksamkeit:  %1</translation>
    </message>
    <message>
        <source>  %1, last backup %2 (%3)</source>
        <translation>  %1, letztes Backup %2 (%3)</translation>
    </message>
    <message>
        <source>Not assigned to anyone, never read:</source>
        <translation>Niemandem zugeordnet, nie gelesen:</translation>
    </message>
    <message>
        <source>Needs your attention:</source>
        <translation>Braucht Ihre Aufmerksamkeit:</translation>
    </message>
</context>
<context>
    <name>UnassignedIPhones</name>
    <message>
        <source>In the folder, assigned to no one and never read:</source>
        <translation>Im Ordner, niemandem zugeordnet und nie gelesen:</translation>
    </message>
    <message>
        <source>backup date unknown</source>
        <translation>Backup-Datum unbekannt</translation>
    </message>
    <message>
        <source>last backup %1</source>
        <translation>letztes Backup %1</translation>
    </message>
    <message>
        <source>Not a child&apos;s iPhone</source>
        <translation>Kein Kinder-iPhone</translation>
    </message>
    <message>
        <source>%1 stays unread, and Bridge stops mentioning it.</source>
        <translation>%1 bleibt ungelesen, und Bridge erwähnt es nicht mehr.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Start without opening the window, as at log-in.</source>
        <translation>Starten, ohne das Fenster zu öffnen, wie bei der Anmeldung.</translation>
    </message>
    <message>
        <source>Checks the newest local iPhone backup for safety signals for Quorva Family.</source>
        <translation>Prüft das neueste lokale iPhone-Backup auf Sicherheitssignale für Quorva Family.</translation>
    </message>
</context>
<context>
    <name>quorva::AppInfo</name>
    <message>
        <source>© 2026 Quorva. All rights reserved. Quorva Bridge is proprietary software.</source>
        <translation>© 2026 Quorva. Alle Rechte vorbehalten. Quorva Bridge ist proprietäre Software.</translation>
    </message>
</context>
<context>
    <name>quorva::AttentionNotifier</name>
    <message>
        <source>Open Quorva Bridge</source>
        <translation>Quorva Bridge öffnen</translation>
    </message>
    <message>
        <source>Quorva Bridge needs attention</source>
        <translation>Quorva Bridge braucht Ihre Aufmerksamkeit</translation>
    </message>
    <message>
        <source>A backup is getting old</source>
        <translation>Ein Backup wird alt</translation>
    </message>
    <message>
        <source>An iPhone waits to be assigned</source>
        <translation>Ein iPhone wartet auf die Zuordnung</translation>
    </message>
    <message>
        <source>Quorva Bridge keeps checking in the background</source>
        <translation>Quorva Bridge prüft im Hintergrund weiter</translation>
    </message>
    <message>
        <source>It checks your family&apos;s iPhone backups every 30 minutes. Start Quorva Bridge again to open its window.</source>
        <translation>Bridge prüft die iPhone-Backups Ihrer Familie alle 30 Minuten. Starten Sie Quorva Bridge erneut, um das Fenster zu öffnen.</translation>
    </message>
    <message>
        <source>Quorva Bridge checks your family&apos;s iPhone backups every 30 minutes.</source>
        <translation>Quorva Bridge prüft die iPhone-Backups Ihrer Familie alle 30 Minuten.</translation>
    </message>
    <message>
        <source>A backup did not finish</source>
        <translation>Ein Backup wurde nicht fertig</translation>
    </message>
</context>
<context>
    <name>quorva::BridgeAppState</name>
    <message>
        <source>The last scan could not read this backup.</source>
        <translation>Der letzte Scan konnte dieses Backup nicht lesen.</translation>
    </message>
    <message>
        <source>No new backup since the last scan.</source>
        <translation>Seit dem letzten Scan kein neues Backup.</translation>
    </message>
</context>
<context>
    <name>quorva::BridgeClientError</name>
    <message>
        <source>Quorva returned an unreadable response.</source>
        <translation>Quorva hat eine unlesbare Antwort geliefert.</translation>
    </message>
    <message>
        <source>This backup is encrypted. Quorva Bridge does not ask for or upload backup passwords. Create a separate unencrypted local backup for this first release.</source>
        <translation>Dieses Backup ist verschlüsselt. Quorva Bridge fragt nicht nach Backup-Passwörtern und lädt keine hoch. Erstellen Sie für diese erste Version ein separates, unverschlüsseltes lokales Backup.</translation>
    </message>
    <message>
        <source>reading it took too long</source>
        <translation>das Lesen hat zu lange gedauert</translation>
    </message>
    <message>
        <source>the scan was stopped</source>
        <translation>die Prüfung wurde abgebrochen</translation>
    </message>
    <message>
        <source>The selected backup does not contain a readable Messages database.</source>
        <translation>Das ausgewählte Backup enthält keine lesbare Nachrichten-Datenbank.</translation>
    </message>
    <message>
        <source>Access to the backup folder expired. Choose the folder again.</source>
        <translation>Der Zugriff auf den Backup-Ordner ist abgelaufen. Wählen Sie den Ordner erneut.</translation>
    </message>
    <message>
        <source>Choose the child profile that owns this iPhone.</source>
        <translation>Wählen Sie das Kinderprofil, dem dieses iPhone gehört.</translation>
    </message>
    <message>
        <source>The Messages backup could not be read: </source>
        <translation>Das Nachrichten-Backup konnte nicht gelesen werden: </translation>
    </message>
    <message>
        <source>This backup is being written; Bridge checks it again at the next scan.</source>
        <translation>Diese Sicherung wird gerade geschrieben; Bridge prüft sie beim nächsten Scan erneut.</translation>
    </message>
</context>
<context>
    <name>quorva::DeviceListModel</name>
    <message>
        <source>No iPhone</source>
        <translation>Kein iPhone</translation>
    </message>
</context>
<context>
    <name>quorva::Formats</name>
    <message>
        <source>today, %1</source>
        <translation>heute, %1</translation>
    </message>
    <message>
        <source>yesterday, %1</source>
        <translation>gestern, %1</translation>
    </message>
    <message numerus="yes">
        <source>%1, %Ln days ago</source>
        <translation>
            <numerusform>%1, vor %Ln Tag</numerusform>
            <numerusform>%1, vor %Ln Tagen</numerusform>
        </translation>
    </message>
    <message>
        <source>d MMM</source>
        <comment>a day and its month, short: a QLocale date format</comment>
        <translation>d. MMM</translation>
    </message>
</context>
<context>
    <name>quorva::PlatformError</name>
    <message>
        <source>The request timed out.</source>
        <translation>Die Anfrage hat zu lange gedauert.</translation>
    </message>
    <message>
        <source>The request could not be written as JSON because it contains text that is not valid UTF-8.</source>
        <translation>Die Anfrage konnte nicht als JSON geschrieben werden, weil sie Text enthält, der kein gültiges UTF-8 ist.</translation>
    </message>
    <message>
        <source>The folder “%1” could not be opened: %2.</source>
        <translation>Der Ordner „%1“ konnte nicht geöffnet werden: %2.</translation>
    </message>
    <message>
        <source>The folder “%1” could not be read: %2.</source>
        <translation>Der Ordner „%1“ konnte nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>The stored backup folder reference could not be read. Choose the folder again.</source>
        <translation>Der gespeicherte Verweis auf den Backup-Ordner konnte nicht gelesen werden. Wählen Sie den Ordner erneut.</translation>
    </message>
    <message>
        <source>The preferences file “%1” could not be written.</source>
        <translation>Die Einstellungsdatei „%1“ konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>The backup folder “%1” cannot be reached now. Plug in the disk or connect the share that holds it; Bridge tries again by itself.</source>
        <translation>Der Backup-Ordner „%1“ ist gerade nicht erreichbar. Schließen Sie das Laufwerk an oder verbinden Sie die Freigabe, auf der er liegt; Bridge versucht es von selbst erneut.</translation>
    </message>
    <message>
        <source>Quorva can&apos;t be reached. Check this computer&apos;s internet connection; Bridge tries again in 30 minutes. (%1)</source>
        <translation>Quorva ist nicht erreichbar. Prüfen Sie die Internetverbindung dieses Computers; Bridge versucht es in 30 Minuten erneut. (%1)</translation>
    </message>
</context>
<context>
    <name>quorva::TrayIcon</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Scan now</source>
        <translation>Jetzt scannen</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>quorva::texts</name>
    <message>
        <source>Starting Quorva Bridge</source>
        <translation>Quorva Bridge startet</translation>
    </message>
    <message>
        <source>Quorva Bridge is ready</source>
        <translation>Quorva Bridge ist bereit</translation>
    </message>
    <message>
        <source>Enter the pairing code shown in Quorva Family.</source>
        <translation>Geben Sie den Kopplungscode ein, den Quorva Family anzeigt.</translation>
    </message>
    <message>
        <source>Pairing needs attention</source>
        <translation>Kopplung braucht Aufmerksamkeit</translation>
    </message>
    <message>
        <source>Child profiles could not be loaded</source>
        <translation>Kinderprofile konnten nicht geladen werden</translation>
    </message>
    <message>
        <source>Backup setup needs attention</source>
        <translation>Backup-Einrichtung braucht Aufmerksamkeit</translation>
    </message>
    <message>
        <source>Scan needs attention</source>
        <translation>Scan braucht Aufmerksamkeit</translation>
    </message>
    <message>
        <source>Quorva Bridge is busy in another process on this computer. Try again in a moment.</source>
        <translation>Quorva Bridge ist in einem anderen Prozess auf diesem Computer beschäftigt. Versuchen Sie es gleich noch einmal.</translation>
    </message>
    <message>
        <source>The secret store is not available yet</source>
        <translation>Der Schlüsselbund ist noch nicht verfügbar</translation>
    </message>
    <message>
        <source>The secret store refused to keep this pairing, and the pairing code has now been used. Get a new code in Quorva Family and pair again.</source>
        <translation>Der Schlüsselbund hat diese Kopplung nicht gespeichert, und der Kopplungscode ist nun verbraucht. Holen Sie sich einen neuen Code in Quorva Family und koppeln Sie erneut.</translation>
    </message>
    <message>
        <source>This pairing with Quorva is no longer valid. Pair again with a new code from Quorva Family.</source>
        <translation>Diese Kopplung mit Quorva ist nicht mehr gültig. Koppeln Sie erneut mit einem neuen Code aus Quorva Family.</translation>
    </message>
    <message>
        <source>Choose the iPhone backup folder</source>
        <translation>iPhone-Backup-Ordner wählen</translation>
    </message>
    <message>
        <source>Choose Backup</source>
        <translation>Backup wählen</translation>
    </message>
    <message>
        <source>Scan complete. No new safety candidates found.</source>
        <translation>Scan abgeschlossen. Keine neuen Sicherheitskandidaten gefunden.</translation>
    </message>
    <message>
        <source>Scan complete. Quorva accepted %L1 of %L2 focused candidates; the others will be sent again at the next scan.</source>
        <translation>Scan abgeschlossen. Quorva hat %L1 von %L2 gezielten Kandidaten angenommen; die übrigen werden beim nächsten Scan erneut gesendet.</translation>
    </message>
    <message>
        <source>An unexpected error occurred.</source>
        <translation>Ein unerwarteter Fehler ist aufgetreten.</translation>
    </message>
    <message>
        <source>A backup of %1&apos;s iPhone is being written; Bridge checks it again at the next scan.</source>
        <translation>Eine Sicherung des iPhones von %1 wird gerade geschrieben; Bridge prüft sie beim nächsten Scan erneut.</translation>
    </message>
    <message>
        <source>%1&apos;s iPhone was last backed up on %2; there is nothing newer to check.</source>
        <translation>Das iPhone von %1 wurde zuletzt am %2 gesichert; es gibt nichts Neueres zu prüfen.</translation>
    </message>
    <message>
        <source>Choose whose iPhone each backup is. Waiting to be assigned: %1.</source>
        <translation>Wählen Sie, wem das iPhone jeder Sicherung gehört. Noch nicht zugeordnet: %1.</translation>
    </message>
    <message>
        <source>For %1: %2</source>
        <translation>Für %1: %2</translation>
    </message>
    <message>
        <source>Waiting for the passcode on %1</source>
        <translation>Warte auf die Eingabe des Codes auf %1</translation>
    </message>
    <message>
        <source>Backing up %1: %L2 %</source>
        <translation>Backup von %1: %L2 %</translation>
    </message>
    <message>
        <source>%1 is backed up.</source>
        <translation>Das Backup von %1 ist fertig.</translation>
    </message>
    <message>
        <source>The backup of %1 ended without finishing; Bridge keeps reading the last finished backup.</source>
        <translation>Das Backup von %1 endete, ohne fertig zu werden; Bridge liest weiter das letzte fertige Backup.</translation>
    </message>
    <message>
        <source>%1 stayed locked, so the backup did not start. Unlock it and enter its passcode when it asks.</source>
        <translation>%1 blieb gesperrt, daher hat das Backup nicht begonnen. Entsperre es und gib seinen Code ein, wenn es danach fragt.</translation>
    </message>
    <message>
        <source>%1 could not be reached for a backup. Check the cable, unlock it and tap Trust if it asks.</source>
        <translation>%1 war für ein Backup nicht erreichbar. Prüfe das Kabel, entsperre es und tippe auf „Vertrauen“, wenn es fragt.</translation>
    </message>
    <message>
        <source>%1 was unplugged during the backup. Connect it again to finish the backup.</source>
        <translation>%1 wurde während des Backups getrennt. Schließe es wieder an, um das Backup fertigzustellen.</translation>
    </message>
    <message>
        <source>There is not enough free space on this computer for the backup of %1.</source>
        <translation>Auf diesem Computer ist nicht genug freier Speicher für das Backup von %1.</translation>
    </message>
    <message>
        <source>The backup of %1 stopped making progress and was ended. Keep the iPhone unlocked and connected, then try again.</source>
        <translation>Das Backup von %1 kam nicht mehr voran und wurde beendet. Lass das iPhone entsperrt und angeschlossen und versuche es erneut.</translation>
    </message>
    <message>
        <source>The backup of %1 failed (idevicebackup2 ended with exit status %2).</source>
        <translation>Das Backup von %1 ist fehlgeschlagen (idevicebackup2 endete mit dem Status %2).</translation>
    </message>
    <message>
        <source>The backup of %1 failed: idevicebackup2 ended unexpectedly.</source>
        <translation>Das Backup von %1 ist fehlgeschlagen: idevicebackup2 endete unerwartet.</translation>
    </message>
    <message>
        <source>Bridge cannot back up %1: idevicebackup2 is missing. Install the package libimobiledevice-utils.</source>
        <translation>Bridge kann kein Backup von %1 erstellen: idevicebackup2 fehlt. Installiere das Paket libimobiledevice-utils.</translation>
    </message>
    <message>
        <source>%1 trusts this computer.</source>
        <translation>%1 vertraut diesem Computer.</translation>
    </message>
    <message>
        <source>Unlock %1 and tap Trust</source>
        <translation>Entsperre %1 und tippe auf „Vertrauen“</translation>
    </message>
    <message>
        <source>Tap Trust on %1 to let this computer back it up</source>
        <translation>Tippe auf %1 auf „Vertrauen“, damit dieser Computer ein Backup erstellen kann</translation>
    </message>
    <message>
        <source>%1 did not trust this computer</source>
        <translation>%1 hat diesem Computer nicht vertraut</translation>
    </message>
    <message>
        <source>%1 no longer knows this computer. Unplug it, connect it again and tap Trust.</source>
        <translation>%1 kennt diesen Computer nicht mehr. Trenne es, schließe es wieder an und tippe auf „Vertrauen“.</translation>
    </message>
    <message>
        <source>%1 is not connected to this computer by USB.</source>
        <translation>%1 ist nicht per USB mit diesem Computer verbunden.</translation>
    </message>
    <message>
        <source>%1 did not answer. Unplug it, connect it again and unlock it.</source>
        <translation>%1 hat nicht geantwortet. Trenne es, schließe es wieder an und entsperre es.</translation>
    </message>
    <message>
        <source>Bridge reads only unencrypted backups: turn off Encrypt local backup for %1</source>
        <translation>Bridge liest nur unverschlüsselte Backups: Schalte „Lokales Backup verschlüsseln“ für %1 aus</translation>
    </message>
    <message>
        <source>No connection to the iPhone service (usbmuxd): Bridge cannot see connected iPhones.</source>
        <translation>Keine Verbindung zum iPhone-Dienst (usbmuxd): Bridge sieht keine angeschlossenen iPhones.</translation>
    </message>
    <message>
        <source>%1 is not assigned to a child: Bridge backs up only the children&apos;s iPhones.</source>
        <translation>%1 ist keinem Kind zugeordnet: Bridge sichert nur die iPhones der Kinder.</translation>
    </message>
    <message>
        <source>Connect %1 to this computer with its cable to back it up.</source>
        <translation>Schließe %1 mit dem Kabel an diesen Computer an, um es zu sichern.</translation>
    </message>
    <message>
        <source>%1 is backed up once the backup or scan under way has finished.</source>
        <translation>%1 wird gesichert, sobald die laufende Sicherung oder Prüfung beendet ist.</translation>
    </message>
    <message>
        <source>%1 was last backed up on %2; there is nothing newer to check.</source>
        <translation>%1 wurde zuletzt am %2 gesichert; es gibt nichts Neueres zu prüfen.</translation>
    </message>
    <message>
        <source>Choose whose iPhone each backup is</source>
        <translation>Wählen Sie, wessen iPhone zu welchem Backup gehört</translation>
    </message>
    <message>
        <source>%1 is in the backup folder and not assigned to anyone.</source>
        <translation>%1 ist im Backup-Ordner und niemandem zugeordnet.</translation>
    </message>
    <message>
        <source>The iPhone assigned to %1 is not in the backup folder.</source>
        <translation>Das %1 zugeordnete iPhone ist nicht im Backup-Ordner.</translation>
    </message>
    <message>
        <source>%1 has no iPhone assigned.</source>
        <translation>%1 ist kein iPhone zugeordnet.</translation>
    </message>
    <message>
        <source>%1 is assigned to a child who is no longer in your family on Quorva, so it is not read. Assign it to another child or to no one.</source>
        <translation>%1 ist einem Kind zugeordnet, das nicht mehr zu Ihrer Familie in Quorva gehört, und wird daher nicht gelesen. Ordnen Sie es einem anderen Kind oder niemandem zu.</translation>
    </message>
    <message>
        <source>The pairing could not be forgotten: the secret store is locked or cannot be reached, and it still holds the pairing. Unlock it (for example by logging in again), then disconnect again. Bridge stays paired until then.</source>
        <translation>Die Kopplung konnte nicht vergessen werden: Der Schlüsselbund ist gesperrt oder nicht erreichbar und enthält die Kopplung noch. Entsperren Sie ihn (zum Beispiel, indem Sie sich erneut anmelden), und trennen Sie dann noch einmal. Bis dahin bleibt Bridge gekoppelt.</translation>
    </message>
    <message>
        <source>Disconnect needs attention</source>
        <translation>Trennen braucht Aufmerksamkeit</translation>
    </message>
    <message>
        <source>%1 is connected but does not answer: unplug it and connect it again.</source>
        <translation>%1 ist angeschlossen, antwortet aber nicht: Trennen Sie es und schließen Sie es erneut an.</translation>
    </message>
    <message>
        <source>%1 is not backed up: its backup names it with an id no iPhone has.</source>
        <translation>%1 wird nicht gesichert: Sein Backup nennt es mit einer Kennung, die kein iPhone hat.</translation>
    </message>
    <message>
        <source>%1 was not backed up: the backup folder is not there. Plug in the disk that holds it, or choose the folder again.</source>
        <translation>%1 wurde nicht gesichert: Der Backup-Ordner ist nicht da. Schließen Sie das Laufwerk an, auf dem er liegt, oder wählen Sie den Ordner erneut.</translation>
    </message>
    <message numerus="yes">
        <source>Scan complete. %Ln focused candidates reviewed by Quorva.</source>
        <translation>
            <numerusform>Scan abgeschlossen. %Ln gezielter Kandidat von Quorva geprüft.</numerusform>
            <numerusform>Scan abgeschlossen. %Ln gezielte Kandidaten von Quorva geprüft.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Last scan: %Ln recent incoming messages inspected</source>
        <translation>
            <numerusform>Letzter Scan: %Ln kürzlich eingegangene Nachricht geprüft</numerusform>
            <numerusform>Letzter Scan: %Ln kürzlich eingegangene Nachrichten geprüft</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln sent for safety review.</source>
        <translation>
            <numerusform>%Ln zur Sicherheitsprüfung gesendet.</numerusform>
            <numerusform>%Ln zur Sicherheitsprüfung gesendet.</numerusform>
        </translation>
    </message>
    <message>
        <source>There is no child with the id %1 in this family.</source>
        <translation>Es gibt in dieser Familie kein Kind mit der ID %1.</translation>
    </message>
    <message>
        <source>There is no iPhone with the id %1 in the backup folder.</source>
        <translation>Im Backup-Ordner gibt es kein iPhone mit der ID %1.</translation>
    </message>
    <message>
        <source>The backup folder must be given as an absolute path, not “%1”.</source>
        <translation>Der Backup-Ordner muss als absoluter Pfad angegeben werden, nicht „%1“.</translation>
    </message>
    <message>
        <source>No assigned iPhone is connected to this computer.</source>
        <translation>Kein zugeordnetes iPhone ist mit diesem Computer verbunden.</translation>
    </message>
    <message>
        <source>More than one assigned iPhone is connected: name the one to back up.</source>
        <translation>Mehr als ein zugeordnetes iPhone ist verbunden: Geben Sie an, welches gesichert werden soll.</translation>
    </message>
    <message>
        <source>Nothing to scan yet: choose the backup folder and assign each child&apos;s iPhone.</source>
        <translation>Noch nichts zu scannen: Wählen Sie den Backup-Ordner und ordnen Sie jedem Kind sein iPhone zu.</translation>
    </message>
    <message>
        <source>The backup of %1 did not finish.</source>
        <translation>Das Backup von %1 wurde nicht abgeschlossen.</translation>
    </message>
    <message>
        <source>d MMM</source>
        <comment>a day and its month, short: a QLocale date format</comment>
        <translation>d. MMM</translation>
    </message>
</context>
<context>
    <name>quorva::words</name>
    <message>
        <source>Mac-assisted iPhone safety signals</source>
        <translation>iPhone-Sicherheitssignale mit Hilfe des Mac</translation>
    </message>
    <message>
        <source>1. Pair this Mac</source>
        <translation>1. Diesen Mac koppeln</translation>
    </message>
    <message>
        <source>Pair Mac</source>
        <translation>Mac koppeln</translation>
    </message>
    <message>
        <source>Pair this Mac from Quorva Family</source>
        <translation>Diesen Mac über Quorva Family koppeln</translation>
    </message>
    <message>
        <source>Pairing this Mac</source>
        <translation>Dieser Mac wird gekoppelt</translation>
    </message>
    <message>
        <source>Pair this Mac with Quorva Family first.</source>
        <translation>Koppeln Sie diesen Mac zuerst mit Quorva Family.</translation>
    </message>
    <message>
        <source>Disconnect this Mac</source>
        <translation>Diesen Mac trennen</translation>
    </message>
    <message>
        <source>Disconnect this Mac?</source>
        <translation>Diesen Mac trennen?</translation>
    </message>
    <message>
        <source>Checking the latest Finder backup locally</source>
        <translation>Das neueste Finder-Backup wird lokal geprüft</translation>
    </message>
    <message>
        <source>Encrypted backup detected. Choose an unencrypted Finder backup.</source>
        <translation>Verschlüsseltes Backup erkannt. Wählen Sie ein unverschlüsseltes Finder-Backup.</translation>
    </message>
    <message>
        <source>Bridge checks a Finder backup after visible family setup. It is not a live iPhone message feed.</source>
        <translation>Bridge prüft ein Finder-Backup nach einer sichtbaren Einrichtung in der Familie. Es ist kein Live-Feed der iPhone-Nachrichten.</translation>
    </message>
    <message>
        <source>The first release supports standard unencrypted Finder backups. Backup passwords are never requested or uploaded.</source>
        <translation>Die erste Version unterstützt normale, unverschlüsselte Finder-Backups. Backup-Passwörter werden nie abgefragt oder hochgeladen.</translation>
    </message>
    <message>
        <source>When enabled, Bridge stays ready to check for newer Finder backups every 30 minutes while you are signed in to this Mac.</source>
        <translation>Wenn aktiviert, sucht Bridge alle 30 Minuten nach neueren Finder-Backups, solange Sie an diesem Mac angemeldet sind.</translation>
    </message>
    <message>
        <source>The backup stays on this Mac. Bridge checks incoming text locally and sends only messages that match focused safety patterns for Quorva review. Parents receive safety moments and Talk Pathway guidance, never a browsable message archive.</source>
        <translation>Das Backup bleibt auf diesem Mac. Bridge prüft eingehende Texte lokal und sendet nur Nachrichten, die auf gezielte Sicherheitsmuster zutreffen, zur Prüfung an Quorva. Eltern erhalten Sicherheitsmomente und Hinweise aus Talk Pathway, nie ein durchsuchbares Nachrichtenarchiv.</translation>
    </message>
    <message>
        <source>No Finder iPhone backup was found in that folder. Back up the iPhone in Finder, then choose the backup folder again.</source>
        <translation>In diesem Ordner wurde kein Finder-Backup eines iPhones gefunden. Sichern Sie das iPhone im Finder und wählen Sie dann den Backup-Ordner erneut.</translation>
    </message>
    <message>
        <source>Launch at login could not be updated. You can also change it in System Settings under Login Items.</source>
        <translation>Der Start bei der Anmeldung konnte nicht geändert werden. Sie können ihn auch in den Systemeinstellungen unter „Anmeldeobjekte“ ändern.</translation>
    </message>
    <message>
        <source>Choose a specific Finder backup or the MobileSync Backup folder. Quorva stores read-only permission for this folder.</source>
        <translation>Wählen Sie ein bestimmtes Finder-Backup oder den MobileSync-Ordner „Backup“. Quorva speichert für diesen Ordner nur eine Leseberechtigung.</translation>
    </message>
    <message>
        <source>iPhone safety signals, checked on this computer</source>
        <translation>iPhone-Sicherheitssignale, geprüft auf diesem Computer</translation>
    </message>
    <message>
        <source>1. Pair this computer</source>
        <translation>1. Diesen Computer koppeln</translation>
    </message>
    <message>
        <source>Pair</source>
        <translation>Koppeln</translation>
    </message>
    <message>
        <source>Pair this computer from Quorva Family</source>
        <translation>Diesen Computer über Quorva Family koppeln</translation>
    </message>
    <message>
        <source>Pairing this computer</source>
        <translation>Dieser Computer wird gekoppelt</translation>
    </message>
    <message>
        <source>Pair this computer with Quorva Family first.</source>
        <translation>Koppeln Sie diesen Computer zuerst mit Quorva Family.</translation>
    </message>
    <message>
        <source>Disconnect this computer</source>
        <translation>Diesen Computer trennen</translation>
    </message>
    <message>
        <source>Disconnect this computer?</source>
        <translation>Diesen Computer trennen?</translation>
    </message>
    <message>
        <source>Checking the latest iPhone backup locally</source>
        <translation>Das neueste iPhone-Backup wird lokal geprüft</translation>
    </message>
    <message>
        <source>Encrypted backup detected. Choose an unencrypted iPhone backup.</source>
        <translation>Verschlüsseltes Backup erkannt. Wählen Sie ein unverschlüsseltes iPhone-Backup.</translation>
    </message>
    <message>
        <source>Bridge checks an iPhone backup after visible family setup. It is not a live iPhone message feed.</source>
        <translation>Bridge prüft ein iPhone-Backup nach einer sichtbaren Einrichtung in der Familie. Es ist kein Live-Feed der iPhone-Nachrichten.</translation>
    </message>
    <message>
        <source>The first release supports standard unencrypted iPhone backups. Backup passwords are never requested or uploaded.</source>
        <translation>Die erste Version unterstützt normale, unverschlüsselte iPhone-Backups. Backup-Passwörter werden nie abgefragt oder hochgeladen.</translation>
    </message>
    <message>
        <source>When enabled, Bridge stays ready to check for newer iPhone backups every 30 minutes while you are signed in to this computer.</source>
        <translation>Wenn aktiviert, sucht Bridge alle 30 Minuten nach neueren iPhone-Backups, solange Sie an diesem Computer angemeldet sind.</translation>
    </message>
    <message>
        <source>The backup stays on this computer. Bridge checks incoming text locally and sends only messages that match focused safety patterns for Quorva review. Parents receive safety moments and Talk Pathway guidance, never a browsable message archive.</source>
        <translation>Das Backup bleibt auf diesem Computer. Bridge prüft eingehende Texte lokal und sendet nur Nachrichten, die auf gezielte Sicherheitsmuster zutreffen, zur Prüfung an Quorva. Eltern erhalten Sicherheitsmomente und Hinweise aus Talk Pathway, nie ein durchsuchbares Nachrichtenarchiv.</translation>
    </message>
    <message>
        <source>No iPhone backup was found in that folder. Back up the iPhone with &quot;idevicebackup2 backup --full FOLDER&quot;, then choose the backup folder again.</source>
        <translation>In diesem Ordner wurde kein iPhone-Backup gefunden. Sichern Sie das iPhone mit „idevicebackup2 backup --full ORDNER“ und wählen Sie dann den Backup-Ordner erneut.</translation>
    </message>
    <message>
        <source>Launch at login could not be updated. You can also change it in your desktop&apos;s autostart settings.</source>
        <translation>Der Start bei der Anmeldung konnte nicht geändert werden. Sie können ihn auch in den Autostart-Einstellungen Ihrer Arbeitsumgebung ändern.</translation>
    </message>
    <message>
        <source>Choose a specific iPhone backup or the folder that holds your iPhone backups. Quorva remembers this folder and only reads it.</source>
        <translation>Wählen Sie ein bestimmtes iPhone-Backup oder den Ordner mit Ihren iPhone-Backups. Quorva merkt sich diesen Ordner und liest ihn nur.</translation>
    </message>
    <message>
        <source>Make one with &quot;idevicebackup2 backup --full FOLDER&quot; from the libimobiledevice-utils package, with the iPhone connected by cable.</source>
        <translation>Erstellen Sie eines mit „idevicebackup2 backup --full ORDNER“ aus dem Paket libimobiledevice-utils, während das iPhone per Kabel verbunden ist.</translation>
    </message>
    <message>
        <source>Choose the folder that holds the family&apos;s Finder backups</source>
        <translation>Wählen Sie den Ordner mit den Finder-Backups der Familie</translation>
    </message>
    <message>
        <source>Finder backup folder</source>
        <translation>Finder-Backup-Ordner</translation>
    </message>
    <message>
        <source>Choose the folder that holds the family&apos;s iPhone backups</source>
        <translation>Wählen Sie den Ordner mit den iPhone-Backups der Familie</translation>
    </message>
    <message>
        <source>iPhone backup folder</source>
        <translation>iPhone-Backup-Ordner</translation>
    </message>
</context>
</TS>
