#include "work_directory_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace qtv::test {

float knownValue(int file, std::int32_t node, std::int64_t step, int word, std::int32_t dofPerNode) {
  const int dof = word % dofPerNode + 1;
  const int quantity = word / dofPerNode;
  if (file == 1 && quantity == 0) return static_cast<float>(node) + static_cast<float>(step) / 4 + static_cast<float>(dof) / 64;
  if (file == 1 && quantity == 1) return -(static_cast<float>(node) + static_cast<float>(step) / 8 + static_cast<float>(dof) / 64);
  if (file == 2 && quantity == 0) return static_cast<float>(step) / 2 + static_cast<float>(dof) / 16;
  return 9999.0f;
}

std::string comdinText(const CaseShape& shape) {
  std::ostringstream text;
  text << shape.nodeCount << " " << shape.restrainedNodes.size() << " 0 0 " << shape.dofPerNode << " 0 0 0\r\n";
  for (const auto node : shape.restrainedNodes) {
    text << node;
    for (int d = 0; d < shape.dofPerNode; ++d) text << " 1";
    text << "\r\n";
  }
  text << "1 " << shape.DT << " " << shape.TT << " 0 0.0 0 0.0\r\n";
  text << "0 0.0 0.0 " << shape.stepCount << "\r\n";
  text << "0.0 0.0 0.0 0.0 0\r\n";
  text << "9*0.0\r\n75*0.0\r\n75*0.0\r\n5*0.0 5*0\r\n";
  text << "end-to-end case\r\n\r\n\r\nshort\r\n\r\n\r\n" << shape.language << "\r\n";
  return text.str();
}

void WorkDirectoryFixture::writeCase(const CaseShape& shape) {
  writeCase(shape, [&](int file, std::int32_t node, std::int64_t step, int word) {
    return knownValue(file, node, step, word, shape.dofPerNode);
  });
}

void WorkDirectoryFixture::writeCase(const CaseShape& shape, const ResultValue& value) {
  writeText("comdin.dat", comdinText(shape));
  for (const int fileNumber : {1, 2}) {
    const int words = (fileNumber == 1 ? 8 : 4) * shape.dofPerNode;
    std::ofstream out(file(fileNumber == 1 ? "u01.unf" : "u2.unf"), std::ios::binary);
    for (std::int64_t step = 0; step < shape.storedSteps; ++step) {
      for (std::int32_t node = 1; node <= shape.nodeCount; ++node) {
        for (int word = 0; word < words; ++word) {
          const float v = value(fileNumber, node, step, word);
          out.write(reinterpret_cast<const char*>(&v), sizeof v);  // the machine is little-endian
        }
      }
    }
  }
}

bool WorkDirectoryFixture::exists(const std::string& name) const { return std::filesystem::exists(file(name)); }

void WorkDirectoryFixture::truncate(const std::string& name, std::int64_t size) const {
  std::filesystem::resize_file(file(name), static_cast<std::uintmax_t>(size));
}

}  // namespace qtv::test
