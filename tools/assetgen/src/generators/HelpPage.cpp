// "Veldra.html": the player's guide that the main menu's help button opens
// beside the game. One self-contained page: no scripts, images or links out.

#include "gamedata/DataFiles.h"
#include "gamedata/HuntTables.h"
#include "generators/Generators.h"
#include "sink/CAssetSink.h"

#include <string>

namespace {

struct ControlRow {
    const char* control;
    const char* key;  // the setup tool's default
    const char* what; // what it does in the hunt
};

// The eight controls in the setup tool's order, with its default keys.
const ControlRow kControls[] = {
    {"Up", "&uarr; (Up arrow)",
     "Walk forward; in the jeep, accelerate. With the binoculars or the gun raised: look up."},
    {"Down", "&darr; (Down arrow)",
     "Walk backward; in the jeep, brake and then reverse. With the binoculars or the gun raised: look down."},
    {"Left", "&larr; (Left arrow)", "Turn left. In the jeep you steer only while accelerating or braking."},
    {"Right", "&rarr; (Right arrow)", "Turn right."},
    {"Fire", "Space", "Shoot (only while the gun is raised and ready)."},
    {"Weapon", "Enter", "Raise or lower the gun to aim (the target button of the hunt panel)."},
    {"Binoculars", "Right Shift", "Raise or lower the binoculars (the binocular button)."},
    {"Jeep", "Right Ctrl", "Get into the jeep or out of it (the jeep button); only while the jeep stands still."},
};

// The rounds before reloading and the hits that bring an animal down are the
// weapon table's.
struct WeaponRow {
    int weapon;
    const char* name;
    const char* note;
};

const WeaponRow kWeaponRows[] = {
    {WEAPON_ASSAULT_RIFLE, "Assault rifle",
     "Fires fast and holds many rounds, but each one does little: it takes eight hits."},
    {WEAPON_CROSSBOW, "Crossbow", "Quiet and smokeless. Reload after every bolt."},
    {WEAPON_HANDGUN, "Handgun", "Light and quick, but you must be close."},
    {WEAPON_MUZZLE_LOADER, "Muzzle-loader", "A heavy ball and a cloud of smoke; reload after every shot."},
    {WEAPON_RIFLE, "Rifle", "The hunter's classic: accurate and powerful; reload after every shot."},
    {WEAPON_SHOTGUN, "Shotgun", "Two barrels, then reload."},
};

const char* const kHead = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Veldra - Player's Guide</title>
<style>
  body { margin: 0; background: #f6efe1; color: #2b2118; font: 16px/1.5 Georgia, "DejaVu Serif", serif; }
  header { background: linear-gradient(#3a4a8c, #e0956a); color: #fff3d6; padding: 2em 1em 1.5em; text-align: center; }
  header h1 { margin: 0; font-size: 3em; letter-spacing: 0.15em; text-shadow: 2px 3px 0 #3b2414; }
  header p { margin: 0.3em 0 0; font-style: italic; }
  nav { background: #5a4030; padding: 0.5em 1em; text-align: center; }
  nav a { color: #ffe3a8; margin: 0 0.7em; text-decoration: none; }
  nav a:hover { text-decoration: underline; }
  main { max-width: 50em; margin: 0 auto; padding: 1em 1.5em 3em; }
  h2 { color: #7a3f12; border-bottom: 2px solid #d9b77a; padding-bottom: 0.2em; margin-top: 1.8em; }
  h3 { color: #5a4030; margin-bottom: 0.3em; }
  table { border-collapse: collapse; width: 100%; margin: 0.8em 0; background: #fffaf0; }
  th, td { border: 1px solid #d9c39b; padding: 0.4em 0.6em; text-align: left; vertical-align: top; }
  th { background: #ead7ae; }
  kbd { background: #fff; border: 1px solid #9c8a6e; border-radius: 4px; box-shadow: 0 1px 0 #9c8a6e;
        padding: 0 0.35em; font-family: "DejaVu Sans Mono", monospace; font-size: 0.9em; white-space: nowrap; }
  .tip { background: #fff4d1; border-left: 5px solid #e0a53a; padding: 0.6em 1em; margin: 1em 0; }
  .warn { background: #fbe3dc; border-left: 5px solid #c0502e; padding: 0.6em 1em; margin: 1em 0; }
  footer { text-align: center; color: #8a765c; font-size: 0.85em; padding: 1em; }
</style>
</head>
<body>
<header>
  <h1>VELDRA</h1>
  <p>A hunt on the African savannah - the player's guide</p>
</header>
<nav>
  <a href="#start">Getting started</a>
  <a href="#controls">Controls</a>
  <a href="#display">The hunt screen</a>
  <a href="#weapons">Weapons</a>
  <a href="#rules">Rules of the hunt</a>
  <a href="#trophies">Trophies</a>
</nav>
<main>
<section id="start">
<h2>Getting started</h2>
<p>When the game starts it plays a short introduction; press <kbd>Esc</kbd> to skip it. The main menu offers
<strong>Start</strong>, <strong>Trophies</strong>, <strong>Credits</strong>, <strong>Help</strong> (this page) and
<strong>Exit</strong>. Everything in the menus is done with the mouse or a game pad.</p>
<ol>
  <li><strong>Choose your quarry:</strong> elephant, giraffe, hippo, lion, lioness, rhino or zebra. Only this kind of
  animal may be shot on this hunt.</li>
  <li><strong>Choose your weapon:</strong> assault rifle, crossbow, handgun, muzzle-loader, rifle or shotgun.</li>
  <li><strong>Choose the land:</strong> desert, plains or grass land. The hunt begins.</li>
</ol>
<p>You start on foot in the middle of the hunting ground with your jeep parked 500 paces behind you.
Twenty-four animals of all seven kinds roam the land.</p>
</section>
)";

const char* const kMiddle = R"(<div class="tip">The keys are chosen in the <strong>setup</strong> program that comes with the game
(it also chooses between 8-bit and high-colour display and can clear the trophy room). The keys above are its defaults,
and they work from the start: until the setup program has been run the game uses them. The mouse works everywhere too.</div>
<h3>Keys the game keeps</h3>
<p>These keys always do the same, and the setup program binds no control to them:</p>
<table>
<tr><th>Key</th><th>What it does</th></tr>
<tr><td><kbd>Esc</kbd> or <kbd>Pause</kbd></td><td>Pauses the hunt and opens the options box; press it again to
resume. While paused, nothing in the hunt moves and no time passes.</td></tr>
<tr><td><kbd>F10</kbd></td><td>Sound off or on again.</td></tr>
<tr><td><kbd>F11</kbd> or keypad <kbd>-</kbd></td><td>Quieter, in ten steps down to silence.</td></tr>
<tr><td><kbd>F12</kbd> or keypad <kbd>+</kbd></td><td>Louder, up to full volume.</td></tr>
</table>
<p>The volume shows for a moment at the top of the screen, and the game remembers it for the next time.</p>
</section>

<section id="display">
<h2>The hunt screen</h2>
<p>The panel at the right edge of the screen holds, from the top:</p>
<ul>
  <li><strong>Compass</strong> - the direction you are facing.</li>
  <li><strong>Wind</strong> - where the wind blows. It changes a little every ten seconds.</li>
  <li><strong>Binoculars</strong> - raise them to see the middle of the view twice as large.</li>
  <li><strong>Jeep</strong> - get in or out. You can only change while the jeep stands still.</li>
  <li><strong>Target</strong> - raise the gun to aim; the shot goes to the centre of the sights.</li>
  <li><strong>Options</strong> - pauses the hunt (so do <kbd>Esc</kbd> and <kbd>Pause</kbd>): resume, go back to the
  main menu, or leave the game.</li>
</ul>
<p>Only one of binoculars, gun and jeep can be in use at a time: lower the one before raising the other.
The <strong>radar</strong> in the top-left corner shows the animals around you as dots, with your view pointing up;
its edge is about 10,000 paces away.</p>
<div class="tip">Two aids, both off unless you turn them on in the setup program's <strong>Hunting Aids</strong> page:
the radar can show the animals of your quarry's kind in cyan, and a small cross can mark where the shot goes while the
gun is raised.</div>
</section>
)";

const char* const kTail = R"(<p>After a reload the gun sinks out of sight and comes back up; while it is raising or reloading it
cannot fire. Lowering and raising the gun again refills it. The shot goes to the first animal whose picture covers the
centre of your sights - a nearer animal shields a farther one, trees do not.</p>
</section>

<section id="rules">
<h2>Rules of the hunt</h2>
<h3>Stalking</h3>
<ul>
  <li>Animals grazing far away ignore you. Come within about 500 paces on foot and they notice you and run.</li>
  <li>Mind the wind: if it carries your scent to an animal, it does not run away - it charges you.</li>
  <li>Every shot, hit or miss, startles the animals in front of you into flight.</li>
  <li>A driving jeep makes animals bolt when it passes within a few hundred paces.</li>
</ul>
<h3>The quarry</h3>
<p>The hunt is won when your quarry falls and you see it go down (an animal that dies out of your view does not count
until you look at it). Elephant, lion and rhino: one is enough. Giraffe, hippo and lioness: you must bring down
<strong>two</strong>. Zebra: <strong>four</strong>.</p>
<h3>Protected animals - and jail</h3>
<div class="warn">Every animal that is not your quarry is protected. Shoot one and the hunt ends in <strong>jail</strong>.
Running <em>any</em> animal over with the jeep - even your quarry - also ends in jail. A warning sounds the moment a
protected animal falls.</div>
<h3>Killed</h3>
<ul>
  <li>An animal that reaches you mauls you; stay near it too long and you are killed.</li>
  <li>Never stray far from your jeep: beyond about 1000 paces a warning sounds; beyond 1500 the wild takes you.</li>
</ul>
<h3>Lost</h3>
<p>The hunting ground is a square of land. If you drive the jeep over its edge a warning sounds; drive on more than
1000 paces beyond it and you are lost.</p>
<p>At the end of a hunt a picture tells how it went. After ten seconds the game returns to the main menu.</p>
</section>

<section id="trophies">
<h2>Trophies</h2>
<p>Every quarry you bag is added to your <strong>trophy room</strong> (main menu, Trophies), oldest first. The setup
program can clear the trophy room.</p>
</section>
</main>
<footer>Veldra - good hunting.</footer>
</body>
</html>
)";

std::string ControlsSection()
{
    std::string html = "<section id=\"controls\">\n<h2>Controls</h2>\n"
                       "<table>\n<tr><th>Control</th><th>Default key</th><th>What it does</th></tr>\n";
    for (const ControlRow& row : kControls)
        html += std::string("<tr><td>") + row.control + "</td><td><kbd>" + row.key + "</kbd></td><td>" + row.what +
                "</td></tr>\n";
    html += "</table>\n<p>On foot you walk at an easy pace; in the jeep you are much faster. The panel's buttons can "
            "also be clicked with the mouse.</p>\n";
    // The game's default pad mapping (input/PadMapping.h), told in a line.
    html += "<p><strong>Game pad:</strong> left stick or d-pad to walk and turn, <kbd>A</kbd> or the right trigger "
            "to fire, <kbd>X</kbd> or the left trigger for the gun, <kbd>Y</kbd> for the binoculars, a shoulder "
            "button for the jeep, <kbd>Start</kbd> or <kbd>Back</kbd> to pause. In the menus the d-pad or stick "
            "moves between the buttons, <kbd>A</kbd> presses one and <kbd>B</kbd> acts as <kbd>Esc</kbd>.</p>\n";
    return html;
}

std::string WeaponsSection()
{
    std::string html = "<section id=\"weapons\">\n<h2>Weapons</h2>\n"
                       "<table>\n<tr><th>Weapon</th><th>Shots before reloading</th><th>Hits to bring an animal "
                       "down</th><th>Notes</th></tr>\n";
    for (const WeaponRow& row : kWeaponRows) {
        const WeaponDesc& weapon = kWeapons[row.weapon];
        html += std::string("<tr><td>") + row.name + "</td><td>" + std::to_string(weapon.magazine) + "</td><td>" +
                std::to_string(weapon.hitsNeeded) + "</td><td>" + row.note + "</td></tr>\n";
    }
    html += "</table>\n";
    return html;
}

} // namespace

void GenerateHelpPage(CAssetSink& sink)
{
    const std::string name = kHelpPage;
    if (!sink.Wants(name))
        return;
    const std::string html = std::string(kHead) + ControlsSection() + kMiddle + WeaponsSection() + kTail;
    sink.WriteBytes(name, html.data(), html.size());
}
