<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>DataDirNotice</name>
    <message>
        <source>Tasks saved while your data folder could not be used are in %1.</source>
        <translation>Des tâches enregistrées pendant que votre dossier de données était inutilisable se trouvent dans %1.</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(aucun)</translation>
    </message>
    <message>
        <source>Neither the data folder %1 nor %2 can be made: your tasks cannot be saved, Jotlark keeps them only while it runs.</source>
        <translation>Ni le dossier de données %1 ni %2 ne peuvent être créés : vos tâches ne peuvent pas être enregistrées, Jotlark ne les garde que tant qu’il fonctionne.</translation>
    </message>
    <message>
        <source>The data folder %1 cannot be used: your tasks are kept in %2.</source>
        <translation>Le dossier de données %1 est inutilisable : vos tâches sont conservées dans %2.</translation>
    </message>
</context>
<context>
    <name>DavTransport</name>
    <message numerus="yes">
        <source>no answer in %n seconds</source>
        <translation>
            <numerusform>pas de réponse en %n seconde</numerusform>
            <numerusform>pas de réponse en %n secondes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the answer is larger than %n MiB</source>
        <translation>
            <numerusform>la réponse dépasse %n Mio</numerusform>
            <numerusform>la réponse dépasse %n Mio</numerusform>
        </translation>
    </message>
    <message>
        <source>the server&apos;s certificate is not trusted</source>
        <translation>le certificat du serveur n&apos;est pas reconnu</translation>
    </message>
    <message>
        <source>host %1 not found</source>
        <translation>hôte %1 introuvable</translation>
    </message>
    <message>
        <source>connection refused by %1</source>
        <translation>connexion refusée par %1</translation>
    </message>
    <message>
        <source>the connection timed out</source>
        <translation>la connexion a expiré</translation>
    </message>
    <message>
        <source>the server closed the connection</source>
        <translation>le serveur a fermé la connexion</translation>
    </message>
    <message>
        <source>no secure connection to %1</source>
        <translation>pas de connexion sécurisée avec %1</translation>
    </message>
    <message>
        <source>a redirect without an address</source>
        <translation>une redirection sans adresse</translation>
    </message>
    <message numerus="yes">
        <source>more than %n redirects</source>
        <translation>
            <numerusform>plus de %n redirection</numerusform>
            <numerusform>plus de %n redirections</numerusform>
        </translation>
    </message>
    <message>
        <source>redirected to an address that is not encrypted</source>
        <translation>redirigé vers une adresse non chiffrée</translation>
    </message>
</context>
<context>
    <name>DavXml</name>
    <message>
        <source>The answer is larger than %1 MiB.</source>
        <translation>La réponse dépasse %1 Mio.</translation>
    </message>
    <message>
        <source>The answer declares a document type.</source>
        <translation>La réponse déclare un type de document.</translation>
    </message>
    <message>
        <source>The answer is not a WebDAV multistatus.</source>
        <translation>La réponse n&apos;est pas un multistatus WebDAV.</translation>
    </message>
    <message>
        <source>Malformed answer (line %1): %2</source>
        <translation>Réponse mal formée (ligne %1) : %2</translation>
    </message>
</context>
<context>
    <name>Discovery</name>
    <message>
        <source>The server says: %1</source>
        <translation>Le serveur dit : %1</translation>
    </message>
    <message>
        <source>This system does not trust the server&apos;s certificate. Its SHA-256 fingerprint is %1.</source>
        <translation>Ce système ne fait pas confiance au certificat du serveur. Son empreinte SHA-256 est %1.</translation>
    </message>
    <message>
        <source>The server cannot be reached: %1</source>
        <translation>Le serveur est injoignable : %1</translation>
    </message>
    <message>
        <source>The server refused this user name or password.</source>
        <translation>Le serveur a refusé ce nom d&apos;utilisateur ou ce mot de passe.</translation>
    </message>
    <message>
        <source>The server failed (error %1).</source>
        <translation>Le serveur a échoué (erreur %1).</translation>
    </message>
    <message>
        <source>The server refused access to this address.</source>
        <translation>Le serveur a refusé l&apos;accès à cette adresse.</translation>
    </message>
    <message>
        <source>This address is not a CalDAV server: no calendars were found there.</source>
        <translation>Cette adresse n&apos;est pas un serveur CalDAV : aucun agenda n&apos;y a été trouvé.</translation>
    </message>
    <message>
        <source>This server names no calendars for this user: it is not a CalDAV server.</source>
        <translation>Ce serveur n&apos;indique aucun agenda pour cet utilisateur : ce n&apos;est pas un serveur CalDAV.</translation>
    </message>
    <message>
        <source>The server did not list the calendars.</source>
        <translation>Le serveur n&apos;a pas listé les agendas.</translation>
    </message>
    <message>
        <source>There is no task list on this server yet: a new one can be made.</source>
        <translation>Il n&apos;y a pas encore de liste de tâches sur ce serveur : une nouvelle peut être créée.</translation>
    </message>
    <message>
        <source>The server did not make the new list (error %1).</source>
        <translation>Le serveur n&apos;a pas créé la nouvelle liste (erreur %1).</translation>
    </message>
    <message>
        <source>The server did not list the tasks (error %1).</source>
        <translation>Le serveur n&apos;a pas listé les tâches (erreur %1).</translation>
    </message>
</context>
<context>
    <name>StartCheck</name>
    <message>
        <source>Jotlark is already running (process %1) but does not answer.

Wait for it or end it, then start Jotlark again.</source>
        <translation>Jotlark est déjà lancé (processus %1) mais ne répond pas.

Attendez-le ou arrêtez-le, puis relancez Jotlark.</translation>
    </message>
    <message>
        <source>Jotlark cannot replace the lock file %1 left by an earlier run.

Remove it, then start Jotlark again.</source>
        <translation>Jotlark ne peut pas remplacer le fichier de verrou %1 laissé par un lancement précédent.

Supprimez-le, puis relancez Jotlark.</translation>
    </message>
    <message>
        <source>Your tasks are in use by Jotlark on %1 (process %2), as the lock file %3 says.</source>
        <translation>Vos tâches sont utilisées par Jotlark sur %1 (processus %2), d&apos;après le fichier de verrou %3.</translation>
    </message>
    <message>
        <source>

Start Jotlark here anyway? If both run, each may overwrite the other&apos;s changes.</source>
        <translation>

Lancer quand même Jotlark ici ? Si les deux tournent, chacun peut écraser les modifications de l&apos;autre.</translation>
    </message>
    <message>
        <source>Jotlark was not started.</source>
        <translation>Jotlark n&apos;a pas été lancé.</translation>
    </message>
    <message>
        <source>Jotlark cannot replace the lock file %1.</source>
        <translation>Jotlark ne peut pas remplacer le fichier de verrou %1.</translation>
    </message>
    <message>
        <source>

Its socket folder %1 was made by another user, or is open to others: remove it, then start Jotlark again.</source>
        <translation>

Son dossier de socket %1 a été créé par un autre utilisateur, ou est ouvert aux autres : supprimez-le, puis relancez Jotlark.</translation>
    </message>
    <message>
        <source>Start Jotlark without arguments to choose.</source>
        <translation>Lancez Jotlark sans arguments pour choisir.</translation>
    </message>
</context>
<context>
    <name>SyncDialog</name>
    <message>
        <source>Sync with a CalDAV server</source>
        <translation>Synchroniser avec un serveur CalDAV</translation>
    </message>
    <message>
        <source>dav.example.org</source>
        <translation>dav.example.org</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Se connecter</translation>
    </message>
    <message>
        <source>Task lists</source>
        <translation>Listes de tâches</translation>
    </message>
    <message>
        <source>Sync with this list</source>
        <translation>Synchroniser avec cette liste</translation>
    </message>
    <message>
        <source>Stop syncing</source>
        <translation>Arrêter la synchronisation</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Server &amp;address:</source>
        <translation>&amp;Adresse du serveur :</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>Nom d&apos;&amp;utilisateur :</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>Mot de &amp;passe :</translation>
    </message>
    <message>
        <source>Syncing with %1.</source>
        <translation>Synchronisé avec %1.</translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation>Connexion…</translation>
    </message>
    <message>
        <source>Type the server&apos;s address.</source>
        <translation>Tapez l&apos;adresse du serveur.</translation>
    </message>
    <message>
        <source>Type the user name.</source>
        <translation>Tapez le nom d&apos;utilisateur.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate is not the one accepted before, and this system does not trust it: it is refused. Its SHA-256 fingerprint is %1.</source>
        <translation>Le certificat du serveur n&apos;est pas celui accepté auparavant, et ce système ne lui fait pas confiance : il est refusé. Son empreinte SHA-256 est %1.</translation>
    </message>
    <message>
        <source>Certificate not trusted</source>
        <translation>Certificat non reconnu</translation>
    </message>
    <message>
        <source>Home servers often sign their own certificate. Trust it only if this fingerprint is the one the server shows. Trust this certificate?</source>
        <translation>Les serveurs personnels signent souvent leur propre certificat. Ne lui faites confiance que si cette empreinte est celle qu&apos;affiche le serveur. Faire confiance à ce certificat ?</translation>
    </message>
    <message>
        <source>New list &quot;Jotlark&quot;</source>
        <translation>Nouvelle liste « Jotlark »</translation>
    </message>
    <message>
        <source>Pick the task list to sync with.</source>
        <translation>Choisissez la liste de tâches à synchroniser.</translation>
    </message>
    <message>
        <source>Sync both lists</source>
        <translation>Synchroniser les deux listes</translation>
    </message>
    <message>
        <source>This list and the server&apos;s both hold tasks. %1 are on both sides and will be linked; %2 will go to the server and %3 will come here. No task is deleted. Sync them?</source>
        <translation>Cette liste et celle du serveur contiennent toutes deux des tâches. %1 sont des deux côtés et seront reliées ; %2 iront sur le serveur et %3 viendront ici. Aucune tâche n&apos;est supprimée. Les synchroniser ?</translation>
    </message>
    <message>
        <source>Nothing was set up.</source>
        <translation>Rien n&apos;a été configuré.</translation>
    </message>
    <message>
        <source>The settings could not be written: %1</source>
        <translation>Les réglages n&apos;ont pas pu être écrits : %1</translation>
    </message>
    <message>
        <source>No keyring keeps passwords on this desktop (%1): the password is kept until Jotlark ends, and asked for at the next start.</source>
        <translation>Aucun trousseau ne garde les mots de passe sur ce bureau (%1) : le mot de passe est gardé jusqu&apos;à la fin de Jotlark, et sera demandé au prochain démarrage.</translation>
    </message>
    <message>
        <source>The settings could not be removed.</source>
        <translation>Les réglages n&apos;ont pas pu être supprimés.</translation>
    </message>
    <message>
        <source>Sync is stopped. No task was removed, here or on the server.</source>
        <translation>La synchronisation est arrêtée. Aucune tâche n&apos;a été supprimée, ici ou sur le serveur.</translation>
    </message>
    <message>
        <source>The password could not be removed from the keyring: %1</source>
        <translation>Le mot de passe n&apos;a pas pu être retiré du trousseau : %1</translation>
    </message>
</context>
<context>
    <name>f_help</name>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Help text</source>
        <translation>Texte de l&apos;aide</translation>
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
        <translation>Créer une tâche :
---------------------
Cliquez sur « Nouvelle tâche » et tapez le contenu de la tâche. Vous 
pouvez ajouter une alarme (date et heure) en cliquant sur « Alarme ».
Fermez la fenêtre en cliquant sur la croix en haut à droite, les 
informations seront enregistrées dans tous les cas.
Vous pouvez aussi créer une tâche par un clic droit sur l&apos;icône de la 
zone de notification, puis en choisissant « Nouvelle ».

Afficher une tâche :
--------------------
Si la fenêtre n&apos;est pas déjà affichée, vous pouvez l&apos;afficher en la 
sélectionnant dans la liste puis en cliquant sur « Afficher ». Vous 
pouvez aussi double-cliquer dans la liste.

Supprimer une tâche :
---------------------
Sélectionnez-la dans la liste et cliquez sur « Supprimer ».
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
        <translation>Rappeler plus tard :<byte value="xd"/>
--------------------<byte value="xd"/>
Quand une alarme sonne, sa notification propose « Rappeler plus tard », qui <byte value="xd"/>
la fait sonner de nouveau 10 minutes plus tard, et « Rappeler dans 1 heure », <byte value="xd"/>
une heure plus tard, à la minute près : répondues à %1, elles sonnent <byte value="xd"/>
à %2 et à %3.<byte value="xd"/>
<byte value="xd"/>
Répéter une alarme :<byte value="xd"/>
--------------------<byte value="xd"/>
Choisissez dans « Répéter » comment l’alarme revient : tous les jours, tous <byte value="xd"/>
les jours de semaine (du lundi au vendredi), toutes les semaines, tous les <byte value="xd"/>
mois ou tous les ans. Quand elle sonne, elle passe d’elle-même à sa fois <byte value="xd"/>
suivante. Pour un jour après les 16 proposés, choisissez « Autre date… » <byte value="xd"/>
dans la liste des jours.<byte value="xd"/>
<byte value="xd"/>
Ajouter une tâche de partout :<byte value="xd"/>
------------------------------<byte value="xd"/>
jotlark --new &quot;Appeler Anna&quot; --at 10:30 ajoute une tâche avec une alarme au <byte value="xd"/>
Jotlark en cours ; associez cette commande à une touche de votre bureau pour <byte value="xd"/>
ajouter des tâches sans ouvrir Jotlark d’abord.<byte value="xd"/>
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
        <translation>Fichiers d&apos;agenda :<byte value="xd"/>
---------------------<byte value="xd"/>
&quot;Fichier&quot; &gt; &quot;Exporter vers un fichier d&apos;agenda…&quot; écrit <byte value="xd"/>
chaque tâche, avec son alarme et sa répétition, dans un fichier <byte value="xd"/>
.ics que Thunderbird, Evolution ou l&apos;application de tâches d&apos;un <byte value="xd"/>
téléphone importe. &quot;Importer un fichier d&apos;agenda…&quot; ajoute les <byte value="xd"/>
tâches ouvertes d&apos;un tel fichier, sauf celles déjà présentes. <byte value="xd"/>
Depuis un terminal, jotlark --export taches.ics écrit le même <byte value="xd"/>
fichier (- pour la sortie standard).<byte value="xd"/>
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
        <translation>Annuler une suppression :<byte value="xd"/>
-------------------------<byte value="xd"/>
« Édition » &gt; « Annuler la suppression » (Ctrl+Z) rétablit la dernière tâche <byte value="xd"/>
supprimée, ou toutes celles que « Tout supprimer » a enlevées, à la fin de <byte value="xd"/>
la liste : jusqu’aux 10 dernières suppressions, tant que Jotlark tourne. <byte value="xd"/>
Les tâches supprimées sont aussi gardées dans planifs.txt.deleted, à côté <byte value="xd"/>
de la liste.<byte value="xd"/>
Une nouvelle tâche dont vous fermez la note sans texte ni alarme n’est pas <byte value="xd"/>
gardée.<byte value="xd"/>
<byte value="xd"/>
Alarmes qui ont sonné :<byte value="xd"/>
-----------------------<byte value="xd"/>
La liste montre en gris une alarme qui a sonné. Une note dont l’alarme <byte value="xd"/>
sonne reste rouge, même fermée puis affichée de nouveau, jusqu’à ce que <byte value="xd"/>
vous rappeliez l’alarme plus tard, la changiez ou choisissiez « Sans alarme ».<byte value="xd"/>
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
        <translation>Notes en vue :<byte value="xd"/>
----------------<byte value="xd"/>
Tirez le coin inférieur droit d&apos;une note pour l&apos;agrandir. Une <byte value="xd"/>
note déplacée ou redimensionnée y revient après &quot;Tout masquer&quot; et <byte value="xd"/>
au démarrage suivant, et les notes ouvertes quand Jotlark se ferme <byte value="xd"/>
s&apos;ouvrent de nouveau. &quot;Options&quot; &gt; &quot;Notes au premier plan&quot; <byte value="xd"/>
garde les notes au-dessus des autres fenêtres, &quot;Notes sur tous <byte value="xd"/>
les bureaux&quot; les montre sur chacun (pas sous Wayland seul). Une <byte value="xd"/>
note dont l&apos;alarme sonne passe au-dessus des autres.<byte value="xd"/>
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
        <translation>Listes à cocher :<byte value="xd"/>
------------------<byte value="xd"/>
Une ligne de note qui commence par « [ ] » est un élément de liste, <byte value="xd"/>
par « [x] » un élément fait, barré. Cliquez sur ses crochets, ou <byte value="xd"/>
faites Ctrl+Entrée sur sa ligne, pour le cocher ou le décocher ; <byte value="xd"/>
Ctrl+Maj+L fait d&apos;une ligne un élément, ou l&apos;inverse. La liste dit <byte value="xd"/>
après la première ligne de la tâche combien sont faits (« 3/5 »).<byte value="xd"/>
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
        <translation>Trouver une tâche :<byte value="xd"/>
-------------------<byte value="xd"/>
« Liste » &gt; « Rechercher... » (Ctrl+F) montre une ligne au-dessus de <byte value="xd"/>
la liste : seules les tâches dont le texte ou l&apos;alarme contient ce <byte value="xd"/>
que vous tapez restent, sans égard à la casse ni aux accents. Échap <byte value="xd"/>
les montre toutes à nouveau. Tout afficher, Tout masquer, Tout <byte value="xd"/>
supprimer et Imprimer prennent toujours toutes les tâches.<byte value="xd"/>
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
        <translation>Synchroniser avec votre téléphone :<byte value="xd"/>
-----------------------------------<byte value="xd"/>
&quot;Options&quot; &gt; &quot;Synchroniser avec un serveur CalDAV...&quot; garde <byte value="xd"/>
la liste et une liste de tâches d&apos;un serveur CalDAV (Radicale, <byte value="xd"/>
Nextcloud) identiques ; un téléphone la suit avec DAVx5 et <byte value="xd"/>
Tasks.org. Tapez l&apos;adresse du serveur, votre nom d&apos;utilisateur <byte value="xd"/>
et votre mot de passe, cliquez sur &quot;Se connecter&quot;, choisissez <byte value="xd"/>
une liste ou une nouvelle. Le mot de passe reste dans le trousseau <byte value="xd"/>
du bureau. &quot;Arrêter la synchronisation&quot; oublie le serveur ; <byte value="xd"/>
elle ne supprime jamais de tâche.<byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>f_iir</name>
    <message>
        <source>Do you realy want to delete all tasks</source>
        <translation>Voulez-vous vraiment supprimer toutes les tâches ?</translation>
    </message>
    <message>
        <source>Save warning</source>
        <translation>Avertissement d&apos;enregistrement</translation>
    </message>
    <message>
        <source>Tasks</source>
        <translation>Tâches</translation>
    </message>
    <message>
        <source>Enter shows the task&apos;s note, Delete deletes the task</source>
        <translation>Entrée affiche la note de la tâche, Suppr supprime la tâche</translation>
    </message>
    <message>
        <source>New task</source>
        <translation>Nouvelle tâche</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Réduire</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Imprimer</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation>&amp;Liste</translation>
    </message>
    <message>
        <source>Show all</source>
        <translation>Tout afficher</translation>
    </message>
    <message>
        <source>Hide all</source>
        <translation>Tout masquer</translation>
    </message>
    <message>
        <source>Delete all</source>
        <translation>Tout supprimer</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>&amp;Start in the task bar</source>
        <translation>&amp;Démarrer dans la zone de notification</translation>
    </message>
    <message>
        <source>Start at &amp;log-in</source>
        <translation>Démarrer à l&apos;&amp;ouverture de session</translation>
    </message>
    <message>
        <source>&amp;?</source>
        <translation>&amp;?</translation>
    </message>
    <message>
        <source>Help...</source>
        <translation>Aide…</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>À &amp;propos…</translation>
    </message>
    <message>
        <source>Your tasks could not be saved to %1:
%2

Quit without saving, and the changes since the last save are lost.</source>
        <translation>Vos tâches n&apos;ont pas pu être enregistrées dans %1 :
%2

Si vous quittez sans enregistrer, les modifications faites depuis le dernier enregistrement seront perdues.</translation>
    </message>
    <message>
        <source>Quit without saving</source>
        <translation>Quitter sans enregistrer</translation>
    </message>
    <message>
        <source>Play a so&amp;und</source>
        <translation>Jouer un so&amp;n</translation>
    </message>
    <message>
        <source>Jotlark already holds 100 tasks; the task was not added.</source>
        <translation>Jotlark contient déjà 100 tâches ; la tâche n’a pas été ajoutée.</translation>
    </message>
    <message>
        <source>Calendar files (*.ics);;All files (*)</source>
        <translation>Fichiers d&apos;agenda (*.ics);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Export to calendar file</source>
        <translation>Exporter vers un fichier d&apos;agenda</translation>
    </message>
    <message>
        <source>The calendar file could not be written: %1</source>
        <translation>Le fichier d&apos;agenda n&apos;a pas pu être écrit : %1</translation>
    </message>
    <message>
        <source>Import calendar file</source>
        <translation>Importer un fichier d&apos;agenda</translation>
    </message>
    <message>
        <source>The calendar file could not be read: %1</source>
        <translation>Le fichier d&apos;agenda n&apos;a pas pu être lu : %1</translation>
    </message>
    <message>
        <source>&amp;Export to calendar file…</source>
        <translation>&amp;Exporter vers un fichier d&apos;agenda…</translation>
    </message>
    <message>
        <source>I&amp;mport calendar file…</source>
        <translation>I&amp;mporter un fichier d&apos;agenda…</translation>
    </message>
    <message>
        <source>Task deleted</source>
        <translation>Tâche supprimée</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Deleted tasks could not be kept in %1: %2</source>
        <translation>Les tâches supprimées n’ont pas pu être gardées dans %1 : %2</translation>
    </message>
    <message>
        <source>One task could not be brought back: the list already holds 100 tasks.</source>
        <translation>Une tâche n’a pas pu être rétablie : la liste contient déjà 100 tâches.</translation>
    </message>
    <message>
        <source>%1 tasks could not be brought back: the list already holds 100 tasks.</source>
        <translation>%1 tâches n’ont pas pu être rétablies : la liste contient déjà 100 tâches.</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Édition</translation>
    </message>
    <message>
        <source>&amp;Undo delete</source>
        <translation>&amp;Annuler la suppression</translation>
    </message>
    <message>
        <source>Notes on &amp;top</source>
        <translation>Notes au &amp;premier plan</translation>
    </message>
    <message>
        <source>Notes on every &amp;workspace</source>
        <translation>Notes sur tous les &amp;bureaux</translation>
    </message>
    <message>
        <source>Under Wayland a program cannot keep its windows above others</source>
        <translation>Sous Wayland, un programme ne peut pas garder ses fenêtres au-dessus des autres</translation>
    </message>
    <message>
        <source>Under Wayland a program cannot show its windows on every workspace</source>
        <translation>Sous Wayland, un programme ne peut pas montrer ses fenêtres sur tous les bureaux</translation>
    </message>
    <message>
        <source>Find a task</source>
        <translation>Trouver une tâche</translation>
    </message>
    <message>
        <source>Words of the task or its alarm</source>
        <translation>Mots de la tâche ou de son alarme</translation>
    </message>
    <message>
        <source>No task hidden</source>
        <translation>Aucune tâche masquée</translation>
    </message>
    <message>
        <source>One task hidden</source>
        <translation>Une tâche masquée</translation>
    </message>
    <message>
        <source>%1 tasks hidden</source>
        <translation>%1 tâches masquées</translation>
    </message>
    <message>
        <source>&amp;Find…</source>
        <translation>&amp;Rechercher…</translation>
    </message>
    <message>
        <source>Sync &amp;now</source>
        <translation>&amp;Synchroniser maintenant</translation>
    </message>
    <message>
        <source>Sync with a &amp;CalDAV server…</source>
        <translation>Synchroniser avec un serveur &amp;CalDAV…</translation>
    </message>
</context>
<context>
    <name>f_test</name>
    <message>
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarme</translation>
    </message>
    <message>
        <source>No alarm</source>
        <translation>Sans alarme</translation>
    </message>
    <message>
        <source>Task text</source>
        <translation>Texte de la tâche</translation>
    </message>
    <message>
        <source>The alarm is due</source>
        <translation>L&apos;alarme sonne</translation>
    </message>
    <message>
        <source>Resize the note</source>
        <translation>Redimensionner la note</translation>
    </message>
</context>
<context>
    <name>jot::AlarmPanel</name>
    <message>
        <source>Set the alarm</source>
        <translation>Régler l&apos;alarme</translation>
    </message>
    <message>
        <source>The</source>
        <translation>Le</translation>
    </message>
    <message>
        <source>at</source>
        <translation>à</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Jour</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>Heure</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minutes</translation>
    </message>
    <message>
        <source>am or pm</source>
        <translation>matin ou après-midi (am ou pm)</translation>
    </message>
    <message>
        <source>Alarm day</source>
        <translation>Jour de l&apos;alarme</translation>
    </message>
    <message>
        <source>Alarm hour</source>
        <translation>Heure de l&apos;alarme</translation>
    </message>
    <message>
        <source>Alarm minutes</source>
        <translation>Minutes de l&apos;alarme</translation>
    </message>
    <message>
        <source>Alarm am or pm</source>
        <translation>Alarme le matin ou l&apos;après-midi</translation>
    </message>
    <message>
        <source>Other date</source>
        <translation>Autre date</translation>
    </message>
    <message>
        <source>Other date…</source>
        <translation>Autre date…</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>Jamais</translation>
    </message>
    <message>
        <source>Every day</source>
        <translation>Tous les jours</translation>
    </message>
    <message>
        <source>Every weekday</source>
        <translation>Tous les jours de semaine</translation>
    </message>
    <message>
        <source>Every week</source>
        <translation>Toutes les semaines</translation>
    </message>
    <message>
        <source>Every month</source>
        <translation>Tous les mois</translation>
    </message>
    <message>
        <source>Every year</source>
        <translation>Tous les ans</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>Répéter</translation>
    </message>
    <message>
        <source>How the alarm repeats</source>
        <translation>Comment l’alarme se répète</translation>
    </message>
    <message>
        <source>As set elsewhere</source>
        <translation>Comme défini ailleurs</translation>
    </message>
</context>
<context>
    <name>jot::Calendar</name>
    <message>
        <source>This file is not an iCalendar file.</source>
        <translation>Ce fichier n&apos;est pas un fichier iCalendar.</translation>
    </message>
    <message>
        <source>This calendar file is cut short: nothing was imported.</source>
        <translation>Ce fichier d&apos;agenda est tronqué : rien n&apos;a été importé.</translation>
    </message>
    <message>
        <source>This calendar file holds no task.</source>
        <translation>Ce fichier d&apos;agenda ne contient aucune tâche.</translation>
    </message>
    <message>
        <source>Imported: %1; already here: %2; did not fit: %3; repeats made one-time: %4.</source>
        <translation>Importées : %1 ; déjà présentes : %2 ; hors limite : %3 ; répétitions devenues uniques : %4.</translation>
    </message>
</context>
<context>
    <name>jot::DeletedTasks</name>
    <message>
        <source>not a file</source>
        <translation>ce n&apos;est pas un fichier</translation>
    </message>
</context>
<context>
    <name>jot::DesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
    <message>
        <source>Snooze</source>
        <translation>Rappeler plus tard</translation>
    </message>
    <message>
        <source>Snooze 1 hour</source>
        <translation>Rappeler dans 1 heure</translation>
    </message>
</context>
<context>
    <name>jot::GridColumns</name>
    <message>
        <source>rang</source>
        <translation>a sonné</translation>
    </message>
    <message>
        <source>%1 of %2 done</source>
        <translation>%1 sur %2 faites</translation>
    </message>
</context>
<context>
    <name>jot::Notices</name>
    <message>
        <source>&amp;SysTRay</source>
        <translation>&amp;Zone de notification</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Nouvelle</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Restaurer</translation>
    </message>
    <message>
        <source> &amp;Exit</source>
        <translation> &amp;Quitter</translation>
    </message>
</context>
<context>
    <name>jot::Repeat</name>
    <message>
        <source>every day</source>
        <translation>tous les jours</translation>
    </message>
    <message>
        <source>every weekday</source>
        <translation>tous les jours de semaine</translation>
    </message>
    <message>
        <source>every week</source>
        <translation>toutes les semaines</translation>
    </message>
    <message>
        <source>every month</source>
        <translation>tous les mois</translation>
    </message>
    <message>
        <source>every year</source>
        <translation>tous les ans</translation>
    </message>
</context>
<context>
    <name>jot::SingleInstance</name>
    <message>
        <source>Jotlark: cannot listen on %1 (%2); a second start will not bring this one to the front.</source>
        <translation>Jotlark : impossible d&apos;écouter sur %1 (%2) ; un second lancement ne mettra pas celui-ci au premier plan.</translation>
    </message>
    <message>
        <source>Jotlark: cannot make the lock file %1 private.</source>
        <translation>Jotlark : impossible de rendre le fichier de verrou %1 privé.</translation>
    </message>
    <message>
        <source>Jotlark: cannot create the lock file %1; a second start will find this one only through its socket.</source>
        <translation>Jotlark : impossible de créer le fichier de verrou %1 ; un second lancement ne trouvera celui-ci que par son socket.</translation>
    </message>
    <message>
        <source>Jotlark: another user holds the socket %1; only the lock file keeps a second Jotlark from starting.</source>
        <translation>Jotlark : un autre utilisateur détient le socket %1 ; seul le fichier de verrou empêche un second Jotlark de démarrer.</translation>
    </message>
    <message>
        <source>Jotlark: no private folder for the socket %1; only a second start that reaches the abstract socket will find this one.</source>
        <translation>Jotlark : pas de dossier privé pour le socket %1 ; seul un second lancement qui atteint le socket abstrait trouvera celui-ci.</translation>
    </message>
</context>
<context>
    <name>jot::SyncController</name>
    <message>
        <source>Not synced: %1</source>
        <translation>Non synchronisé : %1</translation>
    </message>
    <message>
        <source>The CalDAV server refused the password of %1; syncing waits until %2 changes.</source>
        <translation>Le serveur CalDAV a refusé le mot de passe de %1 ; la synchronisation attend que %2 change.</translation>
    </message>
    <message>
        <source>the server refused the password</source>
        <translation>le serveur a refusé le mot de passe</translation>
    </message>
    <message>
        <source>Not synced since %1: %2</source>
        <translation>Non synchronisé depuis %1 : %2</translation>
    </message>
    <message>
        <source>One task of the server is not shown: the list holds 100 tasks at most.</source>
        <translation>Une tâche du serveur n&apos;est pas affichée : la liste contient au plus 100 tâches.</translation>
    </message>
    <message>
        <source>%1 tasks of the server are not shown: the list holds 100 tasks at most.</source>
        <translation>%1 tâches du serveur ne sont pas affichées : la liste contient au plus 100 tâches.</translation>
    </message>
    <message>
        <source>(one change waiting)</source>
        <translation>(une modification en attente)</translation>
    </message>
    <message>
        <source>(%1 changes waiting)</source>
        <translation>(%1 modifications en attente)</translation>
    </message>
    <message>
        <source>Syncing with the CalDAV server waits for the password of %1: type it again in Options, Sync with a CalDAV server.</source>
        <translation>La synchronisation avec le serveur CalDAV attend le mot de passe de %1 : saisissez-le à nouveau dans Options, Synchroniser avec un serveur CalDAV.</translation>
    </message>
    <message>
        <source>the keyring keeps no password for %1</source>
        <translation>le trousseau ne garde aucun mot de passe pour %1</translation>
    </message>
    <message>
        <source>no password: %1</source>
        <translation>pas de mot de passe : %1</translation>
    </message>
</context>
<context>
    <name>jot::TaskFile</name>
    <message>
        <source>One line of %1</source>
        <translation>Une ligne de %1</translation>
    </message>
    <message>
        <source>%1 lines of %2</source>
        <translation>%1 lignes de %2</translation>
    </message>
    <message>
        <source>Your tasks in %1 could not be read (%2). The list starts empty, and the file will not be replaced until it can be copied aside.</source>
        <translation>Vos tâches dans %1 n&apos;ont pas pu être lues (%2). La liste commence vide, et le fichier ne sera pas remplacé tant qu&apos;il ne pourra pas être copié à côté.</translation>
    </message>
    <message>
        <source>not a file</source>
        <translation>ce n&apos;est pas un fichier</translation>
    </message>
    <message>
        <source>%1 could not be read.</source>
        <translation>%1 n&apos;a pas pu être lu.</translation>
    </message>
    <message>
        <source>%1 mixes UTF-8 and Windows-1252 lines; each line was read in its own encoding.</source>
        <translation>%1 mélange des lignes UTF-8 et Windows-1252 ; chaque ligne a été lue dans son propre codage.</translation>
    </message>
    <message>
        <source>Every task that could be read is in the list, and the file as it was is kept in %1.</source>
        <translation>Toutes les tâches lisibles sont dans la liste, et le fichier tel qu&apos;il était est conservé dans %1.</translation>
    </message>
    <message>
        <source>The file could not be copied aside (%1). It will not be replaced until a copy can be made.</source>
        <translation>Le fichier n&apos;a pas pu être copié à côté (%1). Il ne sera pas remplacé tant qu&apos;une copie ne pourra pas être faite.</translation>
    </message>
    <message>
        <source>%1 is not a file</source>
        <translation>%1 n&apos;est pas un fichier</translation>
    </message>
    <message>
        <source>%1 was changed by another program; its tasks were merged into the list.</source>
        <translation>%1 a été modifié par un autre programme ; ses tâches ont été fusionnées dans la liste.</translation>
    </message>
    <message>
        <source>%1 was changed by another program and could not be read completely; its new tasks were added to the list, and none was removed.</source>
        <translation>%1 a été modifié par un autre programme et n&apos;a pas pu être lu entièrement ; ses nouvelles tâches ont été ajoutées à la liste, et aucune n&apos;a été retirée.</translation>
    </message>
    <message>
        <source>A sync tool set this computer&apos;s version of your tasks aside; its tasks were merged into the list, and it is kept in %1.</source>
        <translation>Un outil de synchronisation a mis de côté la version de vos tâches de cet ordinateur ; ses tâches ont été fusionnées dans la liste, et elle est conservée dans %1.</translation>
    </message>
    <message>
        <source>The other version is kept in %1.</source>
        <translation>L&apos;autre version est conservée dans %1.</translation>
    </message>
    <message>
        <source>%1 was replaced by another program while Jotlark saved; its tasks were merged into the list, and that version is kept in %2.</source>
        <translation>%1 a été remplacé par un autre programme pendant l&apos;enregistrement de Jotlark ; ses tâches ont été fusionnées dans la liste, et cette version est conservée dans %2.</translation>
    </message>
    <message>
        <source>the file could not be read completely at start and could not be copied aside (%1)</source>
        <translation>le fichier n&apos;a pas pu être lu entièrement au démarrage ni être copié à côté (%1)</translation>
    </message>
    <message>
        <source>%1 could not be read completely; the file as it was is kept in %2.</source>
        <translation>%1 n&apos;a pas pu être lu entièrement ; le fichier tel qu&apos;il était est conservé dans %2.</translation>
    </message>
    <message>
        <source>another program keeps replacing the file</source>
        <translation>un autre programme remplace sans cesse le fichier</translation>
    </message>
    <message>
        <source>cannot create a file in %1: %2</source>
        <translation>impossible de créer un fichier dans %1 : %2</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>erreur inconnue</translation>
    </message>
    <message>
        <source>Your tasks could not be saved to %1: %2. The list is kept, and saving will be retried.</source>
        <translation>Vos tâches n&apos;ont pas pu être enregistrées dans %1 : %2. La liste est conservée, et l&apos;enregistrement sera retenté.</translation>
    </message>
    <message>
        <source>writing failed: %1</source>
        <translation>l’écriture a échoué : %1</translation>
    </message>
    <message>
        <source>syncing to disk failed: %1</source>
        <translation>l’écriture sur le disque a échoué : %1</translation>
    </message>
    <message>
        <source>replacing the file failed: %1</source>
        <translation>le remplacement du fichier a échoué : %1</translation>
    </message>
    <message>
        <source>Another program has been writing %1 for five minutes; Jotlark saves your tasks once it is done, and keeps its file as it is after ten minutes.</source>
        <translation>Un autre programme écrit %1 depuis cinq minutes ; Jotlark enregistre vos tâches dès qu&apos;il aura fini, et garde son fichier tel quel au bout de dix minutes.</translation>
    </message>
</context>
<context>
    <name>jot::TaskList</name>
    <message>
        <source>Task</source>
        <translation>Tâche</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarme</translation>
    </message>
</context>
<context>
    <name>jot::m_apropos</name>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
</context>
<context>
    <name>jot::newNoteCaption</name>
    <message>
        <source>The</source>
        <translation>Le</translation>
    </message>
    <message>
        <source>at</source>
        <translation>à</translation>
    </message>
</context>
<context>
    <name>jot::printReport</name>
    <message>
        <source>Jotlark tasks</source>
        <translation>Tâches de Jotlark</translation>
    </message>
</context>
<context>
    <name>jot::report</name>
    <message>
        <source>Tasks the %1</source>
        <translation>Tâches du %1</translation>
    </message>
    <message>
        <source>Alarm on the %1</source>
        <translation>Alarme le %1</translation>
    </message>
</context>
<context>
    <name>jot::sync</name>
    <message>
        <source>%1 cannot be read.</source>
        <translation>%1 ne peut pas être lu.</translation>
    </message>
    <message>
        <source>%1 names no task list.</source>
        <translation>%1 n&apos;indique aucune liste de tâches.</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>%1 ne peut pas être écrit : %2</translation>
    </message>
    <message>
        <source>%1 cannot be written.</source>
        <translation>%1 ne peut pas être écrit.</translation>
    </message>
    <message>
        <source>%1 cannot be made private.</source>
        <translation>%1 ne peut pas être rendu privé.</translation>
    </message>
    <message>
        <source>%1 is not a server address.</source>
        <translation>%1 n&apos;est pas une adresse de serveur.</translation>
    </message>
    <message>
        <source>%1 is not an https address: the password would travel readable.</source>
        <translation>%1 n&apos;est pas une adresse https : le mot de passe circulerait en clair.</translation>
    </message>
    <message>
        <source>No password command is set.</source>
        <translation>Aucune commande de mot de passe n&apos;est définie.</translation>
    </message>
    <message>
        <source>The password command gave no answer in %1 s.</source>
        <translation>La commande de mot de passe n&apos;a pas répondu en %1 s.</translation>
    </message>
    <message>
        <source>The password command cannot be run: %1</source>
        <translation>La commande de mot de passe ne peut pas être lancée : %1</translation>
    </message>
    <message>
        <source>The password command failed: %1</source>
        <translation>La commande de mot de passe a échoué : %1</translation>
    </message>
    <message>
        <source>The password command printed no password.</source>
        <translation>La commande de mot de passe n&apos;a affiché aucun mot de passe.</translation>
    </message>
    <message>
        <source>The server answered %1.</source>
        <translation>Le serveur a répondu %1.</translation>
    </message>
    <message>
        <source>The sync state cannot be written to %1: %2</source>
        <translation>L&apos;état de la synchronisation ne peut pas être écrit dans %1 : %2</translation>
    </message>
</context>
<context>
    <name>jot::sync::Engine</name>
    <message>
        <source>The server refused the user name or password.</source>
        <translation>Le serveur a refusé le nom d&apos;utilisateur ou le mot de passe.</translation>
    </message>
</context>
<context>
    <name>jot::sync::Engine::Round</name>
    <message>
        <source>The server cannot list the tasks: %1</source>
        <translation>Le serveur ne peut pas lister les tâches : %1</translation>
    </message>
    <message>
        <source>The server cannot send the tasks: %1</source>
        <translation>Le serveur ne peut pas envoyer les tâches : %1</translation>
    </message>
</context>
<context>
    <name>jot::sync::SyncState</name>
    <message>
        <source>The sync state folder %1 cannot be made.</source>
        <translation>Le dossier d&apos;état de la synchronisation %1 ne peut pas être créé.</translation>
    </message>
    <message>
        <source>The sync state cannot be written to %1.</source>
        <translation>L&apos;état de la synchronisation ne peut pas être écrit dans %1.</translation>
    </message>
</context>
</TS>
