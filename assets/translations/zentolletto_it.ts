<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>CardNames</name>
    <message>
        <source>Ace</source>
        <translation>Asso</translation>
    </message>
    <message>
        <source>Two</source>
        <translation>Due</translation>
    </message>
    <message>
        <source>Three</source>
        <translation>Tre</translation>
    </message>
    <message>
        <source>Four</source>
        <translation>Quattro</translation>
    </message>
    <message>
        <source>Five</source>
        <translation>Cinque</translation>
    </message>
    <message>
        <source>Six</source>
        <translation>Sei</translation>
    </message>
    <message>
        <source>Seven</source>
        <translation>Sette</translation>
    </message>
    <message>
        <source>Knave</source>
        <translation>Fante</translation>
    </message>
    <message>
        <source>Knight</source>
        <translation>Cavallo</translation>
    </message>
    <message>
        <source>King</source>
        <translation>Re</translation>
    </message>
    <message>
        <source>Coins</source>
        <translation>Denari</translation>
    </message>
    <message>
        <source>Cups</source>
        <translation>Coppe</translation>
    </message>
    <message>
        <source>Clubs</source>
        <translation>Bastoni</translation>
    </message>
    <message>
        <source>Swords</source>
        <translation>Spade</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <extracomment>A card: rank, then suit, as in &quot;Knight of Cups&quot;.</extracomment>
        <translation>%1 di %2</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>
Files:
  sounds    %1
  music     %2
  settings  %3
</source>
        <translation>
File:
  suoni         %1
  musica        %2
  impostazioni  %3
</translation>
    </message>
    <message>
        <source>            (or %1 when that folder cannot be written)
</source>
        <translation>                (oppure %1 se quella cartella non si può scrivere)
</translation>
    </message>
    <message>
        <source>The Italian fishing card game with the 40-card deck, against the computer.</source>
        <translation>Il gioco di presa italiano con il mazzo da 40 carte, contro il computer.</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Mostra l&apos;aiuto sulle opzioni della riga di comando.</translation>
    </message>
    <message>
        <source>Deal the same games every run: shuffles, places on the table, the computer&apos;s choices and the first player follow &lt;N&gt;.</source>
        <translation>Distribuisce le stesse partite a ogni avvio: mescolate, posti sul tavolo, scelte del computer e primo giocatore seguono &lt;N&gt;.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Argomento inatteso &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>Invalid seed &apos;%1&apos;: give a whole number from 0 to %2.</source>
        <translation>Valore di --seed non valido &apos;%1&apos;: indicare un numero intero da 0 a %2.</translation>
    </message>
    <message>
        <source>Free software under the GNU GPL, version 3 or later (GPL-3.0-or-later):
you may share and change it. There is NO WARRANTY.
</source>
        <translation>Software libero sotto la GNU GPL, versione 3 o successiva (GPL-3.0-or-later):
lo si può condividere e modificare. NON c&apos;è ALCUNA GARANZIA.
</translation>
    </message>
</context>
<context>
    <name>Information</name>
    <message>
        <source>Zentolletto, Italian fishing card game</source>
        <extracomment>Information panel, line 1 of 4 (at most 38 characters): what the game is.</extracomment>
        <translation>Zentolletto, gioco di presa italiano</translation>
    </message>
    <message>
        <source>Remembers card speed, not play rate</source>
        <extracomment>Information panel, line 2 of 4 (at most 38 characters).</extracomment>
        <translation>Ricorda velocità carte, non di gioco</translation>
    </message>
    <message>
        <source>By the Zentolletto developers</source>
        <extracomment>Information panel, line 3 of 4 (at most 38 characters).</extracomment>
        <translation>Dagli sviluppatori di Zentolletto</translation>
    </message>
    <message>
        <source>Free software: GPL 3 or later</source>
        <extracomment>Information panel, line 4 of 4 (at most 38 characters): the licence.</extracomment>
        <translation>Software libero: GPL 3 o successiva</translation>
    </message>
</context>
<context>
    <name>ProcessGuard</name>
    <message>
        <source>cannot open the display %1</source>
        <translation>impossibile aprire lo schermo %1</translation>
    </message>
    <message>
        <source>no display to show the window on (DISPLAY is not set)</source>
        <translation>nessuno schermo su cui mostrare la finestra (DISPLAY non è impostata)</translation>
    </message>
    <message>
        <source>too few open files allowed (ulimit -n %1); it needs %2</source>
        <translation>troppo pochi file aperti consentiti (ulimit -n %1); ne servono %2</translation>
    </message>
    <message>
        <source>too little address space allowed (ulimit -v %1); it needs %2</source>
        <translation>troppo poco spazio di indirizzamento consentito (ulimit -v %1); ne servono %2</translation>
    </message>
    <message>
        <source>lost the connection to the Wayland compositor %1</source>
        <translation>persa la connessione al compositore Wayland %1</translation>
    </message>
    <message>
        <source>lost the connection to the display %1</source>
        <translation>persa la connessione allo schermo %1</translation>
    </message>
    <message>
        <source>cannot connect to the Wayland compositor %1</source>
        <translation>impossibile connettersi al compositore Wayland %1</translation>
    </message>
    <message>
        <source>cannot start the window system %1</source>
        <translation>impossibile avviare il sistema di finestre %1</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Try &apos;zentolletto --help&apos;.</source>
        <translation>Prova &apos;zentolletto --help&apos;.</translation>
    </message>
</context>
<context>
    <name>zt::AudioWorker</name>
    <message>
        <source>Card sounds and music</source>
        <translation>Suoni delle carte e musica</translation>
    </message>
</context>
<context>
    <name>zt::KeyboardPlay</name>
    <message>
        <source>New Game is not available during a match</source>
        <translation>Nuova partita non è disponibile durante un incontro</translation>
    </message>
    <message>
        <source>The match is over: press Control+N for a new match</source>
        <translation>L&apos;incontro è finito: premi Control+N per un nuovo incontro</translation>
    </message>
    <message>
        <source>New Game is not available now: press Return for GO to deal</source>
        <translation>Nuova partita non è disponibile ora: premi Invio per GO e distribuire</translation>
    </message>
</context>
<context>
    <name>zt::TableAccessibility</name>
    <message>
        <source>You %1, Computer %2</source>
        <translation>Tu %1, Computer %2</translation>
    </message>
    <message>
        <source>Your turn</source>
        <translation>Tocca a te</translation>
    </message>
    <message>
        <source>Computer&apos;s turn</source>
        <translation>Tocca al computer</translation>
    </message>
    <message>
        <source>Computer&apos;s card</source>
        <translation>Carta del computer</translation>
    </message>
    <message>
        <source>Press Return or Space to deal</source>
        <translation>Premi Invio o Spazio per distribuire</translation>
    </message>
    <message>
        <source>Up and Down read the lines, Escape closes</source>
        <translation>Su e Giù leggono le righe, Esc chiude</translation>
    </message>
    <message>
        <source>In your hand</source>
        <translation>Nella tua mano</translation>
    </message>
    <message>
        <source>On the table</source>
        <translation>Sul tavolo</translation>
    </message>
    <message>
        <source>Your played card</source>
        <translation>La tua carta giocata</translation>
    </message>
    <message>
        <source>Top of the computer&apos;s pile</source>
        <translation>In cima al mazzetto del computer</translation>
    </message>
    <message>
        <source>Top of your pile</source>
        <translation>In cima al tuo mazzetto</translation>
    </message>
    <message>
        <source>%1, selected</source>
        <translation>%1, selezionata</translation>
    </message>
    <message>
        <source>Card table</source>
        <translation>Tavolo da gioco</translation>
    </message>
    <message>
        <source>Game menu</source>
        <translation>Menu del gioco</translation>
    </message>
    <message>
        <source>Computer plays %1 and steals your pile</source>
        <translation>Il computer gioca %1 e ruba il tuo mazzetto</translation>
    </message>
    <message>
        <source>You play %1 and steal the computer&apos;s pile</source>
        <translation>Giochi %1 e rubi il mazzetto del computer</translation>
    </message>
    <message>
        <source>Computer plays %1 and takes %2</source>
        <translation>Il computer gioca %1 e prende %2</translation>
    </message>
    <message>
        <source>You play %1 and take %2</source>
        <translation>Giochi %1 e prendi %2</translation>
    </message>
    <message>
        <source>Computer plays %1 on the table</source>
        <translation>Il computer gioca %1 sul tavolo</translation>
    </message>
    <message>
        <source>You play %1 on the table</source>
        <translation>Giochi %1 sul tavolo</translation>
    </message>
    <message>
        <source>Cards taken: you %1, computer %2</source>
        <translation>Carte prese: tu %1, computer %2</translation>
    </message>
    <message>
        <source>%1 can take: choose the table cards with Tab and Space</source>
        <translation>%1 può prendere: scegli le carte sul tavolo con Tab e Spazio</translation>
    </message>
    <message>
        <source>Press Control+Return to continue</source>
        <translation>Premi Control+Invio per continuare</translation>
    </message>
    <message>
        <source>Press Control+N for a new match</source>
        <translation>Premi Control+N per un nuovo incontro</translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>Selezionata</translation>
    </message>
    <message>
        <source>Not selected</source>
        <translation>Non selezionata</translation>
    </message>
</context>
</TS>
