#!/usr/bin/python3
"""Writes the teacher's guide, in Bulgarian, as one self-contained page that prints on A4:
the pictures the build took of the real window (kestramo_shots) are put inside it. With
--start it also writes the release folder's way in: a short page that says which file fits
which computer. The version is the one CMakeLists.txt gives (build.sh reads it), the
licence's lines those of LICENSE.

usage: make_guide.py VERSION SHOTS_FOLDER OUTPUT [--start START_OUTPUT]
"""
import base64
import html
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parents[1]

PAGE = """<!DOCTYPE html>
<html lang="bg">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Kestramo @VERSION@: ръководство за учителя</title>
<style>
@page { size: A4; margin: 16mm 18mm; }
body {
    max-width: 46em;
    margin: 2em auto;
    padding: 0 1em;
    font: 12pt/1.45 "Liberation Serif", "Times New Roman", serif;
    color: #000;
    background: #fff;
}
h1 { font-size: 20pt; margin: 0 0 0.3em; }
h2 { font-size: 15pt; margin: 1.4em 0 0.4em; break-after: avoid; }
h3 { font-size: 12.5pt; margin: 1em 0 0.3em; break-after: avoid; }
p, li { margin: 0.35em 0; }
figure { margin: 0.8em 0; text-align: center; break-inside: avoid; }
figure img { width: 476px; max-width: 100%; height: auto; border: 1px solid #888; }
figcaption { font-size: 10.5pt; color: #333; margin-top: 0.3em; }
code, kbd { font-family: "Liberation Mono", monospace; font-size: 10.5pt; }
.note { border-left: 3px solid #8080ff; padding-left: 0.8em; }
table { border-collapse: collapse; margin: 0.6em 0; break-inside: avoid; }
th, td { border: 1px solid #999; padding: 0.2em 0.6em; text-align: left; }
@media print {
    body { margin: 0; max-width: none; padding: 0; }
    a { color: #000; text-decoration: none; }
}
</style>
</head>
<body>
<h1>Kestramo @VERSION@: ръководство за учителя</h1>
<p>Kestramo е упражнение за урок, който свързва физическото възпитание и информатиката:
колко време е нужно на човек, за да реагира на това, което вижда? Програмата има един
прозорец с два теста. И двата вървят на стъпки с темпо, което учителят или ученикът
избира с плъзгача: от една стъпка на 400 милисекунди до една на 100 милисекунди.</p>

@START-UP@

<h2>План на урок от 45 минути</h2>
<p>Учениците работят по двойки на един компютър (при малко компютри: по трима, като
третият записва). Единият е <b>изпитван</b>: гледа екрана. Другият е <b>наблюдател</b>:
натиска бутоните, следи брояча и записва. След всеки опит двамата си сменят ролите.
Трябва ви по един лист за всяка двойка с таблицата от края на раздела за теста „Знак“.</p>
<table>
<tr><th>Минути</th><th>Какво правят</th></tr>
<tr><td>0–5</td><td>Въведение: какво е време за реакция и защо е важно в спорта.
Учениците се разделят по двойки и отварят програмата.</td></tr>
<tr><td>5–10</td><td>Учителят показва прозореца на проектора: рамката „Вид“, бутоните
<b>Почни</b> и <b>Чисти</b>, брояча и плъзгача.</td></tr>
<tr><td>10–22</td><td><b>Тестът „Текст“</b>, с темпото, с което започва (400 ms).
Наблюдателят натиска <b>Почни</b>; изпитваният казва поговорката на глас, щом я прочете;
наблюдателят записва числото на брояча в този миг. По два опита на всеки.</td></tr>
<tr><td>22–35</td><td><b>Тестът „Знак“</b>. Всеки си избира една латинска буква (например
K) и брои наум колко пъти се появява. Първи опит с темпото от началото (400 ms). Втори
опит по-бързо: веднага след <b>Почни</b> наблюдателят плъзга плъзгача докрай вдясно (или,
щом плъзгачът е избран, натиска <kbd>End</kbd>) и темпото става 100 ms. След края на всеки опит
двамата избират своите букви в списъка и записват истинските им броеве.</td></tr>
<tr><td>35–42</td><td>Обсъждане с целия клас: чии числа в теста „Текст“ са най-малки, с
колко грешат броевете при 400 ms и при 100 ms, какво помага да не се разсейваш.</td></tr>
<tr><td>42–45</td><td>Обобщение; <b>Чисти</b> и затваряне на програмата.</td></tr>
</table>

<h2>Какво упражнява урокът</h2>
<ul>
<li><b>Зрителна реакция:</b> колко бързо ученикът разпознава нещо, което се появява
постепенно или само за миг.</li>
<li><b>Внимание и съсредоточаване:</b> да следи една буква сред много други, без да се
разсейва.</li>
<li><b>Самооценка:</b> да сравни своето впечатление (своя брой) с истинския брой, който
програмата е запазила.</li>
<li>И за физическото възпитание: добрата реакция и осъзнаването на ситуацията са част от
подготовката за всеки спорт и за всяка кризисна ситуация.</li>
</ul>

<h2>Тестът „Текст“</h2>
<ol>
<li>В рамката „Вид“ изберете <b>Текст</b> (избран е при отваряне на програмата).</li>
<li>Натиснете <b>Почни</b>. Програмата избира случайна поговорка и я скрива под
оранжевото покривало.</li>
<li>На всяка стъпка покривалото се скъсява отдолу и поговорката се открива ивица по
ивица, от долния край на буквите нагоре. Броячът по средата отчита стъпките.</li>
<li>Ученикът казва поговорката на глас (или я записва), щом я прочете. Учителят записва
числото на брояча в този миг.</li>
<li>Тестът спира сам, когато покривалото почти изчезне (след 43 стъпки).</li>
</ol>
<p>Колкото по-малко е числото, толкова по-рано ученикът е разпознал поговорката.</p>

@TEXT-TEST@

<h2>Тестът „Знак“</h2>
<ol>
<li>Изберете <b>Знак</b> и натиснете <b>Почни</b>.</li>
<li>Преди старта всеки ученик си избира една латинска буква (например K) и брои наум
колко пъти се появява тя. На всяка стъпка в големия етикет се появява случайна главна латинска
буква от A до Z; програмата брои всяка буква, без да показва броя.</li>
<li>Тестът спира сам на стъпката, в която някоя буква се е появила за десети път.
Тогава списъкът с буквите вдясно вече може да се използва.</li>
<li>Ученикът избира своята буква в списъка и в големия етикет се появява истинският брой,
например <b>K = 4</b>. Той го сравнява със своя брой.</li>
</ol>

@LETTER-TEST@

@LOOKUP@

<h3>Как да сравните броя</h3>
<p>Разликата между броя на ученика и истинския брой показва колко точно е следил буквата.
Удобно е да се попълни малка таблица за класа и тестът да се повтори при по-бързо
темпо (след <b>Почни</b> плъзгачът докрай вдясно, 100 ms):</p>
<table>
<tr><th>Ученик</th><th>Буква</th><th>Темпо</th><th>Свой брой</th><th>Истински брой</th><th>Разлика</th></tr>
<tr><td>Иван</td><td>K</td><td>400 ms</td><td>4</td><td>4</td><td>0</td></tr>
<tr><td>Мария</td><td>A</td><td>100 ms</td><td>8</td><td>10</td><td>2</td></tr>
</table>
<p>Тестът „Знак“ трае най-малко 10 и най-много 235 стъпки; броячът показва колко са били.</p>

<h2>Какво означава броячът</h2>
<p>Броячът показва колко стъпки са минали от натискането на <b>Почни</b>. Докато темпото
не се променя, времето е броят на стъпките по продължителността на една стъпка: например
20 стъпки при 400 ms са 8 секунди, а 20 стъпки при 100 ms са 2 секунди. Затова сравнявайте
резултати, получени при едно и също темпо.</p>

<h2>Плъзгачът за скоростта</h2>
<p>Плъзгачът под лентата задава темпото: в левия край една стъпка трае 400 ms (най-бавно),
в десния край 100 ms (най-бързо); всяко деление скъсява стъпката с 3 ms. Лентата над него
е червена до избраната скорост и зелена след нея. Всяко <b>Почни</b> връща темпото на
най-бавното; ускорете го след старта, а промяната важи от следващата стъпка.
<b>Чисти</b> спира и изчиства теста, без да започва нов.</p>

@FASTER@

<h2>Само с клавиатурата</h2>
<p><kbd>Tab</kbd> минава през бутоните, плъзгача и списъците; <kbd>Интервал</kbd> или
<kbd>Enter</kbd> натиска бутона; стрелките избират теста, местят плъзгача с едно деление
и минават по буквите в списъка. Програмата работи и с екранен четец.</p>

<h2>Инсталиране</h2>
<h3>Linux (Debian, Ubuntu и подобни)</h3>
<p>Инсталирайте пакета <code>kestramo_@VERSION@_amd64.deb</code> с
<code>sudo apt install ./kestramo_@VERSION@_amd64.deb</code>. Програмата се появява в менюто
„Образование“.</p>
<h3>Windows</h3>
<p>Стартирайте <code>kestramo-@VERSION@-setup.exe</code>. Администратор я инсталира за всички
потребители, всеки друг само за себе си, без права на администратор. Премахва се от
„Програми и компоненти“. Без инсталиране: копирайте <code>kestramo.exe</code> където
искате и го стартирайте.</p>
<h3>Chromebook, таблет, интерактивна дъска</h3>
<p>Файлът <code>kestramo.html</code> е цялата програма в един файл. Отворете го в
браузъра: от флашка, от споделена папка, от учебната платформа на училището или от
какъвто и да е уеб сървър. Не е нужен интернет и нищо не се инсталира. На малък екран
прозорецът се смалява целият.</p>
<p>Ако училището е качило папката от <code>kestramo-@VERSION@-web.zip</code> на своя сървър,
отворете адреса ѝ в Chrome и изберете „Инсталиране“ (в менюто ⋮ или в адресната лента):
Кестрамо се появява сред приложенията с отделен прозорец и се отваря и без интернет.</p>
<p class="note">Браузърът не е настолна програма: други раздели, пестенето на енергия и
честотата на екрана внасят отклонения от няколко милисекунди. За урока това няма
значение (една стъпка е 100 до 400 ms), но за точни измервания използвайте програмите за
Linux или Windows.</p>

<h2>Проверка на файловете</h2>
<p>Файлът <code>SHA256SUMS</code> съдържа контролната сума на всеки файл. В Linux в папката
с файловете изпълнете <code>sha256sum -c SHA256SUMS</code>; всеки ред трябва да завършва с
<code>OK</code>. В Windows: <code>certutil -hashfile kestramo.exe SHA256</code> и
сравнете с реда от <code>SHA256SUMS</code>. Всеки може да построи същите файлове от
изходния код и да получи същите байтове.</p>

<h2>Условия за ползване</h2>
<p>Кестрамо е свободен софтуер. Всеки може да я използва на колкото компютъра иска, да я
копира и да я дава на други, да я публикува на сървър или учебна платформа, да я
променя и да разпространява променени копия, стига да ги предава при същия лиценз и с
изходния им код. Програмата се предоставя без никаква гаранция. Точните условия са в
лиценза GNU General Public License, версия 3 или по-нова (файлът
<code>LICENSE.txt</code>, на английски); този кратък преразказ не го замества.
Файлът <code>NOTICES.txt</code> изброява чуждите части, които файловете носят, всяка с
нейния лиценз.</p>
<p lang="en">@LICENCE@</p>
</body>
</html>
"""

FIGURES = {
    "@START-UP@": ("start-up", "Прозорецът при отваряне: заглавието, рамката „Вид“, лентата "
                   "и плъзгачът за скоростта, бутоните „Почни“ и „Чисти“, броячът и "
                   "описанието."),
    "@TEXT-TEST@": ("text-test", "Тестът „Текст“ след 25 стъпки: покривалото е наполовина "
                    "скъсено и долната половина на поговорката се вижда."),
    "@LETTER-TEST@": ("letter-test", "Тестът „Знак“ в ход, при по-бързо темпо: в големия "
                      "етикет е последната буква, списъкът с буквите е сив до края на "
                      "теста."),
    "@LOOKUP@": ("lookup", "След края на теста: избрана е буквата K и етикетът показва "
                 "истинския ѝ брой."),
    "@FASTER@": ("faster", "Плъзгачът на 60 деления: една стъпка трае 220 ms и лентата е "
                 "червена до 60 % от ширината си."),
}


def figure(folder, name, caption):
    data = (folder / (name + ".png")).read_bytes()
    source = "data:image/png;base64," + base64.b64encode(data).decode("ascii")
    return ('<figure><img src="%s" alt="%s" width="476" height="345">'
            "<figcaption>%s</figcaption></figure>" % (source, caption, caption))


START = """<!DOCTYPE html>
<html lang="bg">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Кестрамо @VERSION@: започнете оттук</title>
<style>
body { max-width: 44em; margin: 2em auto; padding: 0 1em;
       font: 13pt/1.45 "Liberation Serif", "Times New Roman", serif; color: #000; background: #fff; }
table { border-collapse: collapse; }
th, td { border: 1px solid #999; padding: 0.25em 0.6em; text-align: left; vertical-align: top; }
code { font-family: "Liberation Mono", monospace; font-size: 11pt; }
</style>
</head>
<body>
<h1>Кестрамо @VERSION@: започнете оттук</h1>
<p>Кестрамо е упражнение за урок по физическо възпитание и информатика: два теста
показват колко бързо ученикът реагира на това, което вижда. Всичко в програмата е на
български. Изберете файла за вашия компютър:</p>
<table>
<tr><th>Компютър</th><th>Файл</th><th>Как</th></tr>
<tr><td>Windows, с права на администратор</td><td><code>kestramo-@VERSION@-setup.exe</code></td>
<td>Стартирайте го и изберете „За всички потребители на този компютър“.</td></tr>
<tr><td>Windows, без права на администратор</td><td><code>kestramo-@VERSION@-setup.exe</code>
или <code>kestramo.exe</code></td><td>Инсталацията избира „Само за мен“. Файлът
<code>kestramo.exe</code> не се инсталира: стартирайте го направо, и от флашка.</td></tr>
<tr><td>Цяла компютърна зала с Windows</td><td><code>kestramo-@VERSION@.msi</code></td>
<td>За администратора: Group Policy, Intune или <code>msiexec</code>.</td></tr>
<tr><td>Linux (Debian, Ubuntu)</td><td><code>kestramo_@VERSION@_amd64.deb</code></td>
<td>С права на администратор: <code>sudo apt install ./kestramo_@VERSION@_amd64.deb</code>.</td></tr>
<tr><td>Chromebook, таблет, всеки браузър</td><td><code>kestramo.html</code></td>
<td>Отворете го в браузъра, от флашка или от учебната платформа. Нищо не се инсталира и
не е нужен интернет.</td></tr>
<tr><td>Уеб сървърът на училището</td><td><code>kestramo-@VERSION@-web.zip</code></td>
<td>За администратора на сайта: учениците я инсталират като приложение и тя работи и без
интернет.</td></tr>
</table>
<p><b>Ръководството за учителя</b>, с план на урок от 45 минути, е
<code>guide-bg.html</code>. Лицензът е в <code>LICENSE.txt</code> (GNU General Public
License, версия 3 или по-нова), чуждите части и техните лицензи в <code>NOTICES.txt</code>.</p>
<p><b>Проверка на файловете:</b> <code>SHA256SUMS</code> съдържа контролната сума на всеки
файл. В Linux, в тази папка: <code>sha256sum -c SHA256SUMS</code>; всеки ред трябва да
завършва с <code>OK</code>. В Windows: <code>certutil -hashfile kestramo.exe SHA256</code>
(и така за всеки файл) и сравнете с реда му в <code>SHA256SUMS</code>.</p>
</body>
</html>
"""


def filled(page, version):
    """The page with the version and the licence's lines of LICENSE."""
    licence = " ".join((ROOT / "LICENSE").read_text(encoding="utf-8").splitlines()[1:3])
    return page.replace("@VERSION@", version).replace("@LICENCE@", html.escape(licence))


def main(version, folder, output, start=None):
    folder = pathlib.Path(folder)
    page = filled(PAGE, version)
    for key, (name, caption) in FIGURES.items():
        page = page.replace(key, figure(folder, name, caption))
    pathlib.Path(output).write_text(page, encoding="utf-8", newline="\n")
    print("%s: %d bytes" % (output, len(page.encode("utf-8"))))
    if start:
        pathlib.Path(start).write_text(filled(START, version), encoding="utf-8", newline="\n")
        print("%s: the way in" % start)


if __name__ == "__main__":
    if len(sys.argv) not in (4, 6) or len(sys.argv) == 6 and sys.argv[4] != "--start":
        sys.exit(__doc__)
    main(*sys.argv[1:4], *sys.argv[5:])
