// Runs the Khronos glTF validator on one .glb or .gltf file (external files looked up beside
// it) and prints one JSON line: the numbers of errors, warnings and infos and the first
// messages of severity error or warning.
// usage: node validate-gltf.js VALIDATOR_MODULE_DIR FILE
const fs = require('fs');
const path = require('path');
const validator = require(process.argv[2]);
const file = process.argv[3];
const readBeside = (uri) => new Promise((resolve, reject) => {
    try {
        resolve(new Uint8Array(fs.readFileSync(path.join(path.dirname(file), decodeURIComponent(uri)))));
    } catch (e) {
        reject(e.toString());
    }
});
validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {
    uri: path.basename(file),
    maxIssues: 0,
    externalResourceFunction: readBeside,
}).then((report) => {
    console.log(JSON.stringify({
        errors: report.issues.numErrors,
        warnings: report.issues.numWarnings,
        infos: report.issues.numInfos,
        messages: report.issues.messages.filter((m) => m.severity <= 1).slice(0, 10),
    }));
}, (e) => {
    console.log(JSON.stringify({failed: String(e)}));
    process.exit(2);
});
