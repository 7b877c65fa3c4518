<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CardNames</name>
    <message>
        <source>Ace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Two</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Three</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Four</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Five</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Six</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seven</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Knave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Knight</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>King</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Coins</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cups</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clubs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Swords</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <extracomment>A card: rank, then suit, as in &quot;Knight of Cups&quot;.</extracomment>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>            (or %1 when that folder cannot be written)
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Italian fishing card game with the 40-card deck, against the computer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deal the same games every run: shuffles, places on the table, the computer&apos;s choices and the first player follow &lt;N&gt;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid seed &apos;%1&apos;: give a whole number from 0 to %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free software under the GNU GPL, version 3 or later (GPL-3.0-or-later):
you may share and change it. There is NO WARRANTY.
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Information</name>
    <message>
        <source>Zentolletto, Italian fishing card game</source>
        <extracomment>Information panel, line 1 of 4 (at most 38 characters): what the game is.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remembers card speed, not play rate</source>
        <extracomment>Information panel, line 2 of 4 (at most 38 characters).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>By the Zentolletto developers</source>
        <extracomment>Information panel, line 3 of 4 (at most 38 characters).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free software: GPL 3 or later</source>
        <extracomment>Information panel, line 4 of 4 (at most 38 characters): the licence.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProcessGuard</name>
    <message>
        <source>cannot open the display %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no display to show the window on (DISPLAY is not set)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>too few open files allowed (ulimit -n %1); it needs %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>too little address space allowed (ulimit -v %1); it needs %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lost the connection to the Wayland compositor %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lost the connection to the display %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot connect to the Wayland compositor %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot start the window system %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Try &apos;zentolletto --help&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zt::AudioWorker</name>
    <message>
        <source>Card sounds and music</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zt::KeyboardPlay</name>
    <message>
        <source>New Game is not available during a match</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The match is over: press Control+N for a new match</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Game is not available now: press Return for GO to deal</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zt::TableAccessibility</name>
    <message>
        <source>You %1, Computer %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your turn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Computer&apos;s turn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Computer&apos;s card</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press Return or Space to deal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Up and Down read the lines, Escape closes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In your hand</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On the table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your played card</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Top of the computer&apos;s pile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Top of your pile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Card table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Game menu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Computer plays %1 and steals your pile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You play %1 and steal the computer&apos;s pile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Computer plays %1 and takes %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You play %1 and take %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Computer plays %1 on the table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You play %1 on the table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cards taken: you %1, computer %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 can take: choose the table cards with Tab and Space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press Control+Return to continue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press Control+N for a new match</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not selected</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
