// Debian's Firefox ESR for the page's tests, over WebDriver BiDi with puppeteer-core: the
// Python suite sends one JSON command a line on stdin and reads one answer a line back.
import puppeteer from 'puppeteer-core';
import readline from 'node:readline';

let browser = null;
let page = null;

const commands = {
    async launch({ width, height }) {
        browser = await puppeteer.launch({
            browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true,
            protocol: 'webDriverBiDi',
        });
        page = await browser.newPage();
        await page.setViewport({ width, height });
        page.on('console', (message) => {
            if (message.type() === 'error') errors.push(message.text());
        });
        page.on('pageerror', (error) => errors.push(String(error)));
    },
    async viewport({ width, height, ratio }) {
        await page.setViewport({ width, height, deviceScaleFactor: ratio || 1 });
    },
    async goto({ url }) {
        errors.length = 0;
        await page.goto(url);
        for (const id of beforeLoad.splice(0)) await page.removeScriptToEvaluateOnNewDocument(id);
    },
    // A script for the next page only, run before the page's own.
    async beforeLoad({ source }) {
        beforeLoad.push((await page.evaluateOnNewDocument(source)).identifier);
    },
    // `body` is a function body that reads its JSON arguments as arguments[i].
    async script({ body, args }) {
        return page.evaluate(`(function () { ${body} }).apply(null, ${JSON.stringify(args)})`);
    },
    async screenshot() { return Buffer.from(await page.screenshot()).toString('base64'); },
    async mouse({ action, x, y, button }) {
        if (action === 'move') return page.mouse.move(x, y);
        await page.mouse.move(x, y);
        if (action === 'click') return page.mouse.click(x, y, { button: button || 'left' });
        return page.mouse[action]({ button: button || 'left' });
    },
    async key({ action, key }) { await page.keyboard[action](key); },
    async errors() { return errors.slice(); },
    async close() { if (browser) await browser.close(); browser = null; },
};
const errors = [];
const beforeLoad = [];

const lines = readline.createInterface({ input: process.stdin });
for await (const line of lines) {
    const { op, ...given } = JSON.parse(line);
    let answer;
    try {
        const value = await commands[op](given);
        answer = { value: value === undefined ? null : value };
    } catch (error) {
        answer = { error: String(error && error.stack || error) };
    }
    process.stdout.write(JSON.stringify(answer) + '\n');
    if (op === 'close') break;
}
await commands.close();
process.exit(0);
