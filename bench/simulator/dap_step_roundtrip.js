// The round trip of one step on the debug adapter channel: from sending
// "next" to the "stopped" event, over many steps of a loop, through the same
// client the end-to-end test uses (installed by that test into the build
// tree's dap-client folder).
// Usage: node dap_step_roundtrip.js <velsim> <folder holding node_modules>
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');

const [velsim, modules] = process.argv.slice(2);
const { DebugClient } = require(path.resolve(modules, 'node_modules', '@vscode', 'debugadapter-testsupport'));
const kSteps = 500;

async function main() {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'velsim-dap-bench-'));
  const prog = path.join(work, 'loop.bas');
  fs.writeFileSync(prog, 'LONG n\nDO\n  n = n + 1\n  n = n * 1\nLOOP\n');
  const dc = new DebugClient(velsim, '--dap', 'velmo');
  await dc.start();
  await dc.hitBreakpoint({ program: prog }, { path: prog, line: 3 });
  await dc.setBreakpointsRequest({ source: { path: prog }, breakpoints: [] });
  const times = [];
  for (let i = 0; i < kSteps; i++) {
    const stopped = dc.waitForEvent('stopped');
    const start = process.hrtime.bigint();
    await dc.nextRequest({ threadId: 1 });
    await stopped;
    times.push(Number(process.hrtime.bigint() - start) / 1e6);
  }
  await dc.stop();
  fs.rmSync(work, { recursive: true, force: true });
  times.sort((a, b) => a - b);
  const mean = times.reduce((a, b) => a + b, 0) / times.length;
  console.log(`step round trip over ${kSteps} steps: median ${times[kSteps >> 1].toFixed(3)} ms, ` +
              `mean ${mean.toFixed(3)} ms, 95th percentile ${times[Math.floor(kSteps * 0.95)].toFixed(3)} ms`);
}

main().catch(error => { console.error(error); process.exit(1); });
