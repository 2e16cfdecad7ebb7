// Validates glTF files with the Khronos validator: node validate.js FILE...
// Prints every issue; exits 1 when any file has an error or a warning, 2 when it cannot run.
'use strict';
const fs = require('fs');
const path = require('path');

let validator;
try {
  validator = require(path.join(__dirname, 'node_modules', 'gltf-validator'));
} catch (error) {
  console.error('gltf-validator is not installed in ' + __dirname + ' (scripts/setup installs it)');
  process.exit(2);
}

const severities = ['error', 'warning', 'info', 'hint'];

async function validate(file) {
  const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {
    uri: path.basename(file),
    maxIssues: 0,
  });
  const { numErrors, numWarnings, numInfos, numHints } = report.issues;
  console.log(`${file}: ${numErrors} errors, ${numWarnings} warnings, ${numInfos} infos, ${numHints} hints`);
  for (const message of report.issues.messages)
    console.log(`  ${severities[message.severity]} ${message.code} at ${message.pointer || message.offset}: ${message.message}`);
  return numErrors + numWarnings === 0;
}

(async () => {
  const files = process.argv.slice(2);
  if (files.length === 0) {
    console.error('usage: node validate.js FILE...');
    process.exit(2);
  }
  let clean = true;
  for (const file of files) clean = (await validate(file)) && clean;
  process.exit(clean ? 0 : 1);
})().catch((error) => {
  console.error(error);
  process.exit(2);
});
