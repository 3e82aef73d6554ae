// velsim --dap driven by a debug adapter client we did not write (the
// DebugClient of @vscode/debugadapter-testsupport): breakpoints in an
// include file, variables, setVariable, evaluate, stepping, labels,
// watchpoints, pause, a runtime error and the program's output.
// Usage: node dap_client.js <velsim> <folder holding node_modules>
'use strict';
const assert = require('assert');
const fs = require('fs');
const os = require('os');
const path = require('path');

const [velsim, modules] = process.argv.slice(2);
const { DebugClient } = require(path.join(modules, 'node_modules', '@vscode', 'debugadapter-testsupport'));

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'velsim-dap-'));
fs.mkdirSync(path.join(work, 'lib'));
const mainLines = [
  "' debugger test program", 'INTEGER count, total', 'CHAR Name[8]', 'BYTE Vals[3]', 'Name = "Velmo"',
  'FOR count = 1 TO 5', '  GOSUB AddUp', 'NEXT', 'PRINT total', 'END', '#INCLUDE "lib/sub.bas"',
];
const subLines = ["' subroutines", 'AddUp:', '  total = total + count', '  Vals[0] = count', 'RETURN'];
const prog = path.join(work, 'prog.bas');
const sub = path.join(work, 'lib', 'sub.bas');
fs.writeFileSync(prog, mainLines.join('\n') + '\n');
fs.writeFileSync(sub, subLines.join('\n') + '\n');

function program(name, lines) {
  const file = path.join(work, name);
  fs.writeFileSync(file, lines.join('\n') + '\n');
  return file;
}

async function variables(dc) {
  const scopes = await dc.scopesRequest({ frameId: 1 });
  const ref = scopes.body.scopes.find(s => s.name === 'Variables').variablesReference;
  const list = (await dc.variablesRequest({ variablesReference: ref })).body.variables;
  return { ref, byName: Object.fromEntries(list.map(v => [v.name, v])) };
}

function outputMatching(dc, category, pattern) {
  return new Promise(resolve => {
    const listener = event => {
      if (event.body.category === category && pattern.test(event.body.output)) {
        dc.removeListener('output', listener);
        resolve(event);
      }
    };
    dc.on('output', listener);
  });
}

async function stopAfter(dc, request, reason, file, line) {
  const stopped = dc.assertStoppedLocation(reason, { path: file, line });
  await request();
  return stopped;
}

const scenarios = {
  async breakpointInIncludeVariablesAndStepping(dc) {
    await dc.hitBreakpoint({ program: prog }, { path: sub, line: 3 });
    let vars = await variables(dc);
    assert.strictEqual(vars.byName.count.value, '1');
    assert.strictEqual(vars.byName.Name.value, '"Velmo"');
    assert.strictEqual(vars.byName.Vals.indexedVariables, 3);
    const elements = await dc.variablesRequest({ variablesReference: vars.byName.Vals.variablesReference });
    assert.deepStrictEqual(elements.body.variables.map(v => v.value), ['0', '0', '0']);
    const set = await dc.setVariableRequest({ variablesReference: vars.ref, name: 'total', value: '100' });
    assert.strictEqual(set.body.value, '100');
    const sum = await dc.evaluateRequest({ expression: 'total + count * 2', frameId: 1 });
    assert.strictEqual(sum.body.result, '102');
    const trace = await dc.stackTraceRequest({ threadId: 1 });
    assert.deepStrictEqual(trace.body.stackFrames.map(f => [f.name, f.line]), [['ADDUP', 3], ['main', 7]]);
    await stopAfter(dc, () => dc.nextRequest({ threadId: 1 }), 'step', sub, 4);
    await stopAfter(dc, () => dc.stepOutRequest({ threadId: 1 }), 'step', prog, 8);
    await stopAfter(dc, () => dc.nextRequest({ threadId: 1 }), 'step', prog, 7);
    await stopAfter(dc, () => dc.stepInRequest({ threadId: 1 }), 'breakpoint', sub, 3);
    vars = await variables(dc);
    assert.strictEqual(vars.byName.count.value, '2');
    assert.strictEqual(vars.byName.total.value, '101');
  },

  async outputAndEnd(dc) {
    const output = dc.assertOutput('stdout', '15\r\n');
    const ended = dc.waitForEvent('exited');
    await Promise.all([dc.configurationSequence(), dc.launch({ program: prog })]);
    await output;
    assert.strictEqual((await ended).body.exitCode, 0);
  },

  async labelBreakpointAndWatchpoint(dc) {
    await Promise.all([dc.waitForEvent('initialized'), dc.launch({ program: prog })]);
    const labels = await dc.setFunctionBreakpointsRequest({ breakpoints: [{ name: 'addup' }] });
    assert.strictEqual(labels.body.breakpoints[0].verified, true);
    await stopAfter(dc, () => dc.configurationDoneRequest(), 'function breakpoint', sub, 3);
    await dc.setFunctionBreakpointsRequest({ breakpoints: [] });
    const info = await dc.customRequest('dataBreakpointInfo', { name: 'Vals', variablesReference: 1 });
    const data = await dc.customRequest('setDataBreakpoints', { breakpoints: [{ dataId: info.body.dataId }] });
    assert.strictEqual(data.body.breakpoints[0].verified, true);
    await stopAfter(dc, () => dc.continueRequest({ threadId: 1 }), 'data breakpoint', sub, 5);
  },

  async conditionAndHitCount(dc) {
    await Promise.all([dc.waitForEvent('initialized'), dc.launch({ program: prog })]);
    await dc.setBreakpointsRequest({ source: { path: sub }, breakpoints: [{ line: 3, condition: 'count * 2 = 8' }] });
    await stopAfter(dc, () => dc.configurationDoneRequest(), 'breakpoint', sub, 3);
    assert.strictEqual((await variables(dc)).byName.count.value, '4');
    const moved = await dc.setBreakpointsRequest({ source: { path: sub }, breakpoints: [{ line: 2, hitCondition: '1' }] });
    assert.strictEqual(moved.body.breakpoints[0].line, 3);
    await stopAfter(dc, () => dc.continueRequest({ threadId: 1 }), 'breakpoint', sub, 3);
    assert.strictEqual((await variables(dc)).byName.count.value, '5');
  },

  async runtimeErrorIsAnException(dc) {
    const file = program('div.bas', ['BYTE a, b', 'a = 1', 'PRINT a / b']);
    const stopped = dc.waitForEvent('stopped');
    await Promise.all([dc.configurationSequence(), dc.launch({ program: file })]);
    const event = await stopped;
    assert.strictEqual(event.body.reason, 'exception');
    assert.strictEqual(event.body.text, 'Division by zero');
    const trace = await dc.stackTraceRequest({ threadId: 1 });
    assert.strictEqual(trace.body.stackFrames[0].line, 3);
    const ended = dc.waitForEvent('exited');
    await dc.continueRequest({ threadId: 1 });
    assert.strictEqual((await ended).body.exitCode, 1);
  },

  async pauseAProgramWaitingForInput(dc) {
    const file = program('wait.bas', ['BYTE a', 'INPUT a', 'PRINT a']);
    const announced = outputMatching(dc, 'console', /^velsim: the program reads its input from \/dev\/pts\/\d+\n$/);
    await Promise.all([dc.configurationSequence(), dc.launch({ program: file })]);
    await announced;
    await new Promise(resolve => setTimeout(resolve, 200));
    await stopAfter(dc, () => dc.pauseRequest({ threadId: 1 }), 'pause', path.join(work, 'wait.bas'), 2);
  },

  async inputFromThePseudoTerminal(dc) {
    const file = program('echo.bas', ['BYTE a', 'INPUT a', 'PRINT a + 1']);
    const announced = outputMatching(dc, 'console', /^velsim: the program reads its input from /);
    const printed = outputMatching(dc, 'stdout', /43/);
    await Promise.all([dc.configurationSequence(), dc.launch({ program: file })]);
    const device = (await announced).body.output.match(/(\/dev\/\S+)\n/)[1];
    fs.writeFileSync(device, '42\r');
    await printed;
  },

  async compileErrorFailsTheLaunch(dc) {
    const file = program('bad.bas', ['PRINT (']);
    await dc.initializeRequest();
    await assert.rejects(dc.launchRequest({ program: file }), /did not compile/);
  },
};

async function main() {
  let failed = 0;
  for (const [name, run] of Object.entries(scenarios)) {
    const dc = new DebugClient(velsim, '--dap', 'velmo');
    dc.defaultTimeout = 10000;
    await dc.start();
    try {
      await run(dc);
      console.log('ok   ' + name);
    } catch (error) {
      failed++;
      console.log('FAIL ' + name + ': ' + (error && error.stack ? error.stack : error));
    }
    await dc.stop();
  }
  fs.rmSync(work, { recursive: true, force: true });
  process.exit(failed ? 1 : 0);
}

main();
