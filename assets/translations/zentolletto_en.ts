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
</context>
<context>
    <name>DisplayLoss</name>
    <message>
        <source>The X11 connection broke (error 1). Did the X11 server die?</source>
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
</TS>
