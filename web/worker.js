// The page's worker: runs varistellar's own command line on the chosen files,
// which live only in the memory of this worker's file system.
'use strict';

let core = null;
let output = null; // the lines of the command under way: { out: [], err: [] }
let runs = 0;

// The name that ties a night's table to its parameter file: the folder the
// browser gave, or the file's name without the usual words (lightcurve-B.txt
// and VARISTELLAR-input-B.txt are both "B", as are Measurements-B.xls and
// light_curve-B.dat).
function groupOf(file) {
  const slash = file.path.lastIndexOf('/');
  if (slash > 0) return file.path.slice(0, slash);
  return file.name
    .replace(/\.[^.]*$/, '')
    .replace(/lightcurve|light_curve|measurements|varistellar-input|parameters|input|table/gi, '')
    .replace(/^[-_. ]+|[-_. ]+$/g, '');
}

// A name safe for one folder of the file system, unlike any already taken.
function uniqueName(wanted, taken) {
  const base = wanted.replace(/[\/\\]/g, '_').replace(/^\.+$/, '_') || 'file';
  let name = base;
  for (let n = 2; taken.has(name); ++n) name = `${n}-${base}`;
  taken.add(name);
  return name;
}

// What each file is, as the program's own detector tells it (and the command
// line's desktop drop sorts files): from its first 64 KiB, and from its name
// where they cannot tell. Each file stands alone in a folder of its own, so
// that its name stays as the observer gave it.
function kindsOf(fs, files) {
  if (files.length === 0) return [];
  const cwd = fs.cwd();
  const folder = `/identify-${runs}`;
  fs.mkdir(folder);
  fs.chdir(folder);
  try {
    const paths = files.map((file, n) => {
      fs.mkdir(String(n));
      const name = file.name.replace(/[\/\\]/g, '_').replace(/^\.+$/, '_') || 'file';
      fs.writeFile(`${n}/${name}`, file.bytes.subarray(0, 65536));
      return `${n}/${name}`;
    });
    // One line a file, in order: "FILE: KIND", the kind after the last ": ",
    // a table's program after the kind ("table AstroImageJ").
    const { out } = runCommand(['--identify', ...paths]);
    return files.map((file, n) => {
      const line = out[n] || '';
      const [kind, program] = line.slice(line.lastIndexOf(': ') + 2).split(' ');
      return { kind: kind || 'unknown', program: program || '' };
    });
  } finally {
    fs.chdir(cwd);
    removeTree(fs, folder);
  }
}

// Sorts the files into reports to check and one night to convert.
function sortFiles(fs, files) {
  const sorted = { reports: [], tables: [], parameters: [], coefficients: [], unknown: [] };
  const lists = { report: 'reports', table: 'tables', parameters: 'parameters',
    coefficients: 'coefficients' };
  const kinds = kindsOf(fs, files);
  // A night's picture, dropped with its files, is passed over.
  files.forEach((file, n) => {
    const { kind, program } = kinds[n];
    if (kind !== 'picture') sorted[lists[kind] || 'unknown'].push({ ...file, program });
  });
  return sorted;
}

function pairNight(sorted) {
  const { tables, parameters } = sorted;
  if (tables.length === 0 && parameters.length === 0) return { pairs: [] };
  if (tables.length === 1 && parameters.length === 1) {
    return { pairs: [{ group: groupOf(tables[0]), table: tables[0], parameters: parameters[0] }] };
  }
  const groups = new Map();
  for (const [role, list] of [['table', tables], ['parameters', parameters]]) {
    for (const file of list) {
      const group = groupOf(file);
      if (!groups.has(group)) groups.set(group, { group });
      const pair = groups.get(group);
      if (pair[role]) {
        return { problem: `${pair[role].name} and ${file.name} are both a ${role === 'table' ? 'table' : 'parameter file'} of one filter; give each filter's files a folder of its own` };
      }
      pair[role] = file;
    }
  }
  const pairs = [...groups.values()];
  const lonely = pairs.find((pair) => !pair.table || !pair.parameters);
  if (lonely) {
    const file = lonely.table || lonely.parameters;
    return { problem: `${file.name} has no ${lonely.table ? 'parameter file' : 'table'} beside it; a night needs both, for each filter` };
  }
  return { pairs };
}

// Counts the bytes the program reads from the tables, for the progress bar.
function watchTableReads(fs) {
  const read = fs.read;
  fs.read = function (stream, ...rest) {
    const count = read.call(this, stream, ...rest);
    const watch = fs.watched;
    if (watch && watch.paths.has(stream.path)) {
      watch.done += count;
      const step = Math.floor((watch.done / watch.total) * 100);
      if (step > watch.shown) {
        watch.shown = step;
        postMessage({ kind: 'progress', done: watch.done, total: watch.total });
      }
    }
    return count;
  };
}

// Files the program writes grow by doubling. The runtime's own growth, by an
// eighth past 1 MB, copies a long night's report over and over again.
function growFilesByDoubling(fs) {
  const memfs = fs.filesystems.MEMFS;
  memfs.expandFileStorage = (node, wanted) => {
    const capacity = node.contents ? node.contents.length : 0;
    if (capacity >= wanted) return;
    const grown = new Uint8Array(Math.max(wanted, capacity * 2, 256));
    if (node.usedBytes > 0) grown.set(node.contents.subarray(0, node.usedBytes));
    node.contents = grown;
  };
}

function runCommand(args) {
  output = { out: [], err: [] };
  let status;
  const started = performance.now();
  try {
    status = core.callMain(args);
  } catch (error) {
    output.err.push(`varistellar: the page could not finish: ${error}`);
    status = 1;
  }
  const lines = output;
  output = null;
  return { status, ...lines, milliseconds: performance.now() - started };
}

function removeTree(fs, path) {
  for (const name of fs.readdir(path)) {
    if (name === '.' || name === '..') continue;
    const full = `${path}/${name}`;
    if (fs.isDir(fs.stat(full).mode)) removeTree(fs, full); else fs.unlink(full);
  }
  fs.rmdir(path);
}

// The name a table takes in its filter's folder, where convert finds it by
// its name: lightcurve.txt, light_curve.dat, or an AstroImageJ table's own
// name when convert would look for it (messages then name the observer's file).
function folderTableName(table) {
  if (table.program === 'Siril') return 'light_curve.dat';
  if (table.program !== 'AstroImageJ') return 'lightcurve.txt';
  const own = table.name.replace(/[\/\\]/g, '_');
  const searched = /\.(xls|tbl|csv|txt)$/i.test(own) && !/^varistellar-input\.txt$/i.test(own);
  return searched ? own : 'Measurements.xls';
}

// The files were sent to this worker, which owns their bytes: the file system
// keeps them as they are, without a copy.
function convertNight(fs, pairs, coefficients, options, capabilities) {
  const args = ['convert'];
  if (options.checkStar) args.push('--check-star');
  if (options.date === 'JD') args.push('--date', 'JD');
  if (options.colour && capabilities.colour) args.push('--colour', options.colour);
  if (options.pairWithin && capabilities.pairWithin) args.push('--pair-within', options.pairWithin);
  if (options.merr === 'check-scatter' && capabilities.merr) {
    args.push('--merr', options.merrWindow ? `check-scatter:${options.merrWindow}` : 'check-scatter');
  }
  const taken = new Set(['lightcurve-aavso.txt', 'lightcurve-aavso.svg']);
  if (coefficients && capabilities.transform) {
    const name = uniqueName(coefficients.name, taken);
    fs.writeFile(name, coefficients.bytes);
    args.push('--transform', name);
  }
  const tables = [];
  args.push('--report', 'lightcurve-aavso.txt', '--plot', 'lightcurve-aavso.svg');
  if (pairs.length === 1) {
    // One night: the files under their own names, so that every message
    // names the file the observer chose.
    const [pair] = pairs;
    const table = uniqueName(pair.table.name, taken);
    const parameters = uniqueName(pair.parameters.name, taken);
    fs.writeFile(table, pair.table.bytes, { canOwn: true });
    fs.writeFile(parameters, pair.parameters.bytes, { canOwn: true });
    args.push('--table', table, '--parameters', parameters);
    tables.push({ path: table, size: pair.table.bytes.length });
  } else {
    // One folder per filter, as the photometry program writes them.
    for (const [n, pair] of pairs.entries()) {
      const folder = uniqueName(pair.group || `filter-${n + 1}`, taken);
      const table = `${folder}/${folderTableName(pair.table)}`;
      fs.mkdir(folder);
      fs.writeFile(table, pair.table.bytes, { canOwn: true });
      fs.writeFile(`${folder}/VARISTELLAR-input.txt`, pair.parameters.bytes, { canOwn: true });
      args.push(folder);
      tables.push({ path: table, size: pair.table.bytes.length });
    }
  }
  const cwd = fs.cwd();
  fs.watched = {
    paths: new Set(tables.map((table) => `${cwd}/${table.path}`)),
    total: Math.max(1, tables.reduce((sum, table) => sum + table.size, 0)),
    done: 0,
    shown: -1,
  };
  const result = runCommand(args);
  fs.watched = null;
  result.args = args;
  if (result.status === 0) {
    result.report = fs.readFile('lightcurve-aavso.txt');
    result.picture = fs.analyzePath('lightcurve-aavso.svg').exists
      ? fs.readFile('lightcurve-aavso.svg') : null;
  }
  return result;
}

function checkReports(fs, reports) {
  const taken = new Set();
  const names = reports.map((report) => {
    const name = uniqueName(report.name, taken);
    fs.writeFile(name, report.bytes);
    return name;
  });
  const result = runCommand(['check', '--', ...names]);
  result.args = ['check', ...names];
  return result;
}

function run({ files, options }) {
  const fs = core.FS;
  const started = performance.now();
  const folder = `/run-${++runs}`;
  fs.mkdir(folder);
  fs.chdir(folder);
  const results = [];
  const problems = [];
  try {
    const sorted = sortFiles(fs, files);
    for (const file of sorted.unknown) {
      problems.push(`${file.name}: not a light-curve table, a parameter file, a coefficient file or an AAVSO report`);
    }
    if (sorted.coefficients.length > 1) problems.push('more than one coefficient file was given');
    if (sorted.coefficients.length === 1 && !capabilities.transform) {
      problems.push(`${sorted.coefficients[0].name}: this version cannot apply transformation coefficients yet; the night is converted without them`);
    }
    const night = pairNight(sorted);
    if (night.problem) problems.push(night.problem);
    if (night.pairs && night.pairs.length > 0 && sorted.coefficients.length <= 1) {
      results.push(convertNight(fs, night.pairs, sorted.coefficients[0], options, capabilities));
    }
    if (sorted.reports.length > 0) results.push(checkReports(fs, sorted.reports));
    if (files.length === 0) problems.push('choose the files of a night, or reports to check');
  } finally {
    fs.chdir('/');
    removeTree(fs, folder);
  }
  const written = results.flatMap((result) => [result.report, result.picture])
    .filter((bytes) => bytes).map((bytes) => bytes.buffer);
  postMessage({ kind: 'done', results, problems, worker: performance.now() - started },
    written);
}

// One small night converted and checked while the page loads, so that the
// browser has compiled the program's code before the observer's first run.
function warmUp(fs) {
  const table = 'JDHEL V-C s1 V-K1 s2 C1-K1 s3 HELCOR AIRMASS ALTITUDE\n-\n' +
    '2456175.65873 -0.64079 0.04121 1.32477 0.02022 1.95165 0.03223 0.00569 1.45354 43.47\n' +
    '2456175.65918 -0.63349 0.04006 1.32687 0.02021 1.96344 0.03236 0.00569 1.45167 43.54\n';
  const parameters = '-\n-\n-\n-\nABCD\nRR LYR\n000-AAA-001\n12.345\nV\n12345AB\n' +
    '000-AAA-002\n13.021\n';
  fs.mkdir('/warm-up');
  fs.chdir('/warm-up');
  fs.writeFile('lightcurve.txt', table);
  fs.writeFile('VARISTELLAR-input.txt', parameters);
  runCommand(['convert', '--check-star', '--plot', 'night.svg']);
  runCommand(['check', 'lightcurve-aavso.txt']);
  runCommand(['--identify', 'lightcurve.txt', 'VARISTELLAR-input.txt']);
  fs.chdir('/');
  removeTree(fs, '/warm-up');
}

// The options this build's convert knows, as its --help lists them.
let capabilities = {};

createVaristellar({
  print: (line) => output && output.out.push(line),
  printErr: (line) => output && output.err.push(line),
}).then((module) => {
  core = module;
  watchTableReads(core.FS);
  growFilesByDoubling(core.FS);
  const help = runCommand(['--help']).out.join('\n');
  const version = runCommand(['--version']).out.join('');
  warmUp(core.FS);
  capabilities = {
    transform: help.includes('--transform'),
    colour: help.includes('--colour'),
    pairWithin: help.includes('--pair-within'),
    merr: help.includes('--merr'),
  };
  onmessage = (event) => run(event.data);
  postMessage({ kind: 'ready', capabilities, version });
}, (error) => postMessage({ kind: 'failed', text: String(error) }));
